#include "widgets/sidebar/HistorySidebarWindow.h"

#include "TestStores.h"
#include "core/capture/ClipboardService.h"
#include "core/sidebar/HistoryListModel.h"
#include "core/sidebar/HistorySidebarWindowDelegate.h"
#include "core/sidebar/RelativeDate.h"
#include "platform/fake/FakePasteboard.h"
#include "widgets/shell/Localization.h"
#include "widgets/sidebar/SidebarEditorWindow.h"

#include <QDesktopServices>
#include <QListView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

using Button = HistoryEntryCellView::Button;

namespace {

// Receives the URLs the program asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

struct NoDelegate : HistorySidebarWindowDelegate {
    void sidebarDidRequestCapture() override {}
    void sidebarDidRequestClose() override {}
};

// A shown panel over a history of three entries, newest first: "third", "second\nline" (with a screenshot), "first".
struct PanelFixture : TestStores {
    PanelFixture()
    {
        Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
        history.addEntry(QStringLiteral("first"), std::nullopt, QImage(), QImage());
        QImage shot(40, 30, QImage::Format_RGB32);
        shot.fill(Qt::red);
        history.addEntry(QStringLiteral("second\nline"), QStringLiteral("MON-1"), QImage(), shot);
        history.addEntry(QStringLiteral("third"), std::nullopt, QImage(), QImage());
        history.waitForPendingWrites();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        panel.slideIn(QRectF(area.right() + 1, area.top(), 300, area.height()),
                      QRectF(area.right() + 1 - 300, area.top(), 300, area.height()), 0);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }
    ~PanelFixture() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QWidget* viewport() const { return panel.listView()->viewport(); }
    QRect buttonRect(int row, Button button) const
    {
        const QModelIndex index = panel.model()->index(row);
        return HistoryEntryCellView::buttonRect(panel.listView()->visualRect(index), button,
                                                index.data(HistoryListModel::HasScreenshotRole).toBool());
    }
    void click(int row, Button button) const
    {
        QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, buttonRect(row, button).center());
    }
    QStringList texts() const { return textsOf(history.entries()); }

    FakePasteboard pasteboard;
    ClipboardService clipboard{pasteboard, settings};
    NoDelegate delegate;
    HistorySidebarWindow panel{history, clipboard, delegate};
};

} // namespace

TEST(HistoryEntryCellView, ButtonsAreFoundWithinFourPointsAndInTheirOrder)
{
    // Buttons of 22 points from the right, 2 apart, 8 from the edge: delete 270-291, edit 246-267, copy 222-243,
    // screenshot 198-219; each 19-40 high.
    const QRect cell(0, 0, 300, 60);
    const std::tuple<const char*, QPoint, bool, Button> rows[] = {
        {"delete's middle", {280, 30}, true, Button::Delete},
        {"4 points right of delete", {295, 30}, true, Button::Delete},
        {"5 points right of delete", {296, 30}, true, Button::None},
        {"4 points above delete", {280, 15}, true, Button::Delete},
        {"5 points above delete", {280, 14}, true, Button::None},
        {"between copy and edit the first in order wins", {245, 30}, true, Button::Copy},
        {"the screenshot button", {208, 30}, true, Button::Screenshot},
        {"where it would be without a screenshot", {208, 30}, false, Button::None},
        {"copy keeps its place without one", {232, 30}, false, Button::Copy},
    };
    for (const auto& [name, point, hasScreenshot, expected] : rows)
        EXPECT_EQ(HistoryEntryCellView::buttonAt(cell, point, hasScreenshot), expected) << name;
}

TEST(HistorySidebarWindow, ScreenshotButtonOpensItsOwnFile)
{
    PanelFixture f;
    EXPECT_TRUE(f.buttonRect(0, Button::Screenshot).isNull()) << "no screenshot button without a screenshot";
    const HistoryEntry second = f.history.entries().at(1);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    f.click(1, Button::Screenshot);
    EXPECT_EQ(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(f.history.screenshotPath(second))});
}

// A show request while the panel slides out must not end with the panel gone.
TEST(HistorySidebarWindow, SlideInDuringTheSlideOutWins)
{
    PanelFixture f;
    const QRectF shown = f.panel.geometry();
    const QRectF hidden = shown.translated(300, 0);
    f.panel.slideOut(hidden, 200);
    QTest::qWait(60);
    f.panel.slideIn(hidden, shown, 200);
    QTest::qWait(400);
    EXPECT_TRUE(f.panel.isVisible());
    EXPECT_EQ(f.panel.pos(), shown.topLeft().toPoint());

    f.panel.slideOut(hidden, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.panel.isVisible(); }, 2000));
}

// The editor saves nothing when left empty or replaced by another row's.
TEST(HistorySidebarWindow, EditorSavesNothingWhenEmptyOrReplaced)
{
    PanelFixture f;
    const QStringList texts = f.texts();
    f.panel.addButton()->click();
    QPointer<SidebarEditorWindow> editor = f.panel.editorWindow();
    ASSERT_TRUE(editor);
    QTest::keyClick(editor->textView(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor.isNull(); }, 2000)) << "an empty text closes the editor";

    // A double click on row 2 opens its editor; the open one goes without saving.
    f.panel.editEntry(0);
    editor = f.panel.editorWindow();
    QTest::keyClicks(editor->textView(), QStringLiteral("not saved either"));
    QTest::mouseDClick(f.viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(20, f.buttonRect(2, Button::Copy).center().y()));
    EXPECT_TRUE(editor.isNull());
    ASSERT_TRUE(f.panel.editorWindow());
    EXPECT_EQ(f.panel.editorWindow()->textView()->toPlainText(), QStringLiteral("first"));
    QTest::qWait(300);
    EXPECT_EQ(f.texts(), texts);
}

TEST(RelativeDate, NamesTheLargestWholeUnit)
{
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
    const QDateTime now(QDate(2025, 3, 31), QTime(12, 0), Qt::LocalTime);
    const std::pair<QDateTime, const char*> rows[] = {
        {now.addSecs(30), "now"}, // from the future: the clock was put back
        {now, "now"},
        {now.addSecs(-59), "59 sec. ago"},
        {now.addSecs(-60), "1 min. ago"},
        {now.addSecs(-3599), "59 min. ago"},
        {now.addSecs(-3600), "1 hr. ago"},
        {now.addSecs(-86399), "23 hr. ago"},
        {now.addDays(-1), "1 day ago"},
        {now.addDays(-7), "1 wk. ago"},
        {QDateTime(QDate(2025, 3, 1), QTime(12, 0), Qt::LocalTime), "4 wk. ago"},
        {QDateTime(QDate(2025, 2, 28), QTime(12, 0), Qt::LocalTime), "1 mo. ago"}, // a calendar month back
        {QDateTime(QDate(2025, 1, 31), QTime(12, 1), Qt::LocalTime), "1 mo. ago"}, // two months less a minute
        {now.addYears(-1), "1 yr. ago"},
        {now.addYears(-3).addDays(1), "2 yr. ago"},
    };
    for (const auto& [timestamp, text] : rows)
        EXPECT_EQ(RelativeDate::text(timestamp, now), QString::fromLatin1(text)) << timestamp.toString().toStdString();
}

#include "HistorySidebarWindowTest.moc"
