#include "widgets/preferences/PreferencesView.h"

#include "QStringPrinter.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/preferences/APISettingsPage.h"
#include "widgets/preferences/GeneralSettingsPage.h"
#include "widgets/preferences/HistorySettingsPage.h"
#include "widgets/preferences/HotkeyRecorderView.h"
#include "widgets/preferences/PreferencesDelegate.h"
#include "widgets/preferences/PreferencesWindowController.h"
#include "widgets/preferences/RangeStepper.h"
#include "widgets/preferences/SettingsToggle.h"
#include "widgets/preferences/TextSettingsPage.h"
#include "widgets/preferences/ToggleSwitch.h"
#include "widgets/shell/AppWindowList.h"
#include "widgets/shell/Localization.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr quint32 ScanK = 45;
constexpr quint32 ScanSeven = 16;
constexpr quint32 ScanOdiaeresis = 47;
constexpr quint32 ScanEscape = 9;

// Records what the window asks of the application; registerHotkey() answers with registrationStatus.
class RecordingDelegate : public PreferencesDelegate {
public:
    void suspendHotkey() override { calls.append(QStringLiteral("suspend")); }
    void registerHotkey() override
    {
        calls.append(QStringLiteral("register"));
        status = registrationStatus;
    }
    void updateCaptureMenuItem() override { calls.append(QStringLiteral("menu")); }
    int hotkeyStatus() const override { return status; }
    std::optional<quint32> keyCodeOfKey(quint32 scanCode, quint32) const override
    {
        const QHash<quint32, quint32> keys{{ScanK, 40}, {ScanSeven, 26}, {ScanEscape, 53}};
        return keys.contains(scanCode) ? std::optional(keys.value(scanCode)) : std::nullopt;
    }
    void restartAPIServer() override { calls.append(QStringLiteral("restart")); }
    void openURL(const QUrl& url) override { calls.append(QStringLiteral("open ") + url.toString()); }

    QStringList calls;
    int registrationStatus = 0;
    int status = 0;
};

struct PreferencesFixture {
    explicit PreferencesFixture(std::function<void(InMemoryDefaultsStore&)> preset = {})
    {
        Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
        if (preset)
            preset(store);
        settings = std::make_unique<AppSettings>(store, loginItem);
        history = std::make_unique<HistoryManager>(*settings, historyFolder.path());
        view = std::make_unique<PreferencesView>(*settings, *history, delegate);
        view->show();
        view->activateWindow();
        QApplication::setActiveWindow(view.get());
    }

    // Stored values, read back from the store rather than from the settings object.
    nlohmann::json stored(const char* key) const { return store.value(key).value_or(nlohmann::json()); }

    QTemporaryDir historyFolder;
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<HistoryManager> history;
    RecordingDelegate delegate;
    std::unique_ptr<PreferencesView> view;
};

void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(target, &event);
}

} // namespace

// A hotkey press goes to the recorder after the button was clicked; the global hotkey is released while it
// listens and registered again afterwards, whatever ends the recording. How each press is read:
// HotkeyRecordingTest; recording the current hotkey in the real program: tests/e2e/preferences_test.py.
TEST(HotkeyRecorder, RecordsRefusesAndCancels)
{
    struct Press {
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 scanCode;
    };
    struct Row {
        const char* name;
        QList<Press> presses;
        quint32 keyCode; // stored afterwards
        quint32 modifiers;
        bool listening; // still recording after the presses
        const char* message;
    };
    const Press ctrlAltK{Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, ScanK};
    const Press shift7{Qt::Key_Ampersand, Qt::ShiftModifier, ScanSeven};
    const Press escape{Qt::Key_Escape, Qt::NoModifier, ScanEscape};
    const Row rows[] = {
        {"Shift+7 beeps, then Ctrl+Alt+K", {shift7, ctrlAltK}, 40, 2304, false, ""},
        {"Shift+7 keeps listening", {shift7}, 26, 768, true, "Hold Ctrl or Super together with the key."},
        {"a key without a code",
         {{Qt::Key_Odiaeresis, Qt::ControlModifier, ScanOdiaeresis}},
         26,
         768,
         true,
         "This key cannot be part of a hotkey."},
        {"Escape", {escape}, 26, 768, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PreferencesFixture f;
        GeneralSettingsPage* page = f.view->generalPage();
        page->hotkeyButton()->click();
        ASSERT_TRUE(page->recorder()->isRecording());
        EXPECT_EQ(f.delegate.calls, QStringList{"suspend"});
        for (const Press& p : row.presses)
            press(page->recorder(), p.key, p.modifiers, p.scanCode);
        EXPECT_EQ(f.settings->hotkeyKeyCode(), row.keyCode);
        EXPECT_EQ(f.settings->hotkeyModifiers(), row.modifiers);
        EXPECT_EQ(page->recorder()->isRecording(), row.listening);
        EXPECT_EQ(f.delegate.calls,
                  row.listening ? QStringList{"suspend"} : (QStringList{"suspend", "register", "menu"}));
        const QString message = QString::fromUtf8(row.message);
        EXPECT_EQ(page->hotkeyMessage()->isHidden(), message.isEmpty());
        EXPECT_TRUE(message.isEmpty() || page->hotkeyMessage()->text().startsWith(message))
            << page->hotkeyMessage()->text().toStdString();
    }
}

TEST(HotkeyRecorder, HotkeyHeldByAnotherProgramIsSaidNextToTheRowAndLeavingCancels)
{
    PreferencesFixture f;
    GeneralSettingsPage* page = f.view->generalPage();
    f.delegate.registrationStatus = 10; // another X client holds the combination
    page->hotkeyButton()->click();
    press(page->recorder(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, ScanK);
    EXPECT_EQ(f.settings->hotkeyKeyCode(), 40u) << "the recorded values are kept";
    EXPECT_FALSE(page->hotkeyMessage()->isHidden());
    EXPECT_EQ(page->hotkeyMessage()->text(),
              QStringLiteral("Ctrl+Alt+K is used by another program. Choose another combination."));
    EXPECT_EQ(page->hotkeyButton()->text(), QStringLiteral("Ctrl+Alt+K"));

    // Reset takes the default again; it registers, and the message goes.
    f.delegate.registrationStatus = 0;
    page->resetButton()->click();
    EXPECT_EQ(f.settings->hotkeyKeyCode(), 26u);
    EXPECT_EQ(f.settings->hotkeyModifiers(), 768u);
    EXPECT_TRUE(page->hotkeyMessage()->isHidden());

    // Switching to another tab while listening must not leave the hotkey released.
    f.delegate.calls.clear();
    page->hotkeyButton()->click();
    f.view->selectTab(PreferencesTab::History);
    EXPECT_FALSE(page->recorder()->isRecording());
    EXPECT_EQ(f.delegate.calls, (QStringList{"suspend", "register", "menu"}));
}

// Every switch writes its own setting, and only when the person flips it; the accessible value follows.
TEST(PreferencesView, EachToggleWritesItsSetting)
{
    PreferencesFixture f;
    using Read = std::function<bool(const AppSettings&)>;
    const std::tuple<const char*, SettingsToggle*, const char*, Read> rows[] = {
        {"shadows", f.view->generalPage()->shadowsToggle(), "captureWindowShadows",
         [](auto& s) { return s.captureWindowShadows(); }},
        {"hint", f.view->generalPage()->captureHintToggle(), "showCaptureHint",
         [](auto& s) { return s.showCaptureHint(); }},
        {"line breaks", f.view->textPage()->lineBreaksToggle(), "removeLineBreaks",
         [](auto& s) { return s.removeLineBreaks(); }},
        {"whitespace", f.view->textPage()->whitespaceToggle(), "cleanupWhitespace",
         [](auto& s) { return s.cleanupWhitespace(); }},
        {"hyphenation", f.view->textPage()->hyphenationToggle(), "fixHyphenation",
         [](auto& s) { return s.fixHyphenation(); }},
        {"primary selection", f.view->textPage()->primarySelectionToggle(), "copyToPrimarySelection",
         [](auto& s) { return s.copyToPrimarySelection(); }},
        {"history", f.view->historyPage()->enableToggle(), "historyEnabled",
         [](auto& s) { return s.historyEnabled(); }},
        {"api", f.view->apiPage()->enableToggle(), "apiEnabled", [](auto& s) { return s.apiEnabled(); }},
    };
    EXPECT_TRUE(f.store.writes().empty()) << "showing the window writes nothing";
    for (const auto& [name, toggle, key, read] : rows) {
        SCOPED_TRACE(name);
        const bool before = read(*f.settings);
        ASSERT_EQ(toggle->isChecked(), before);
        f.store.clearWrites();
        toggle->toggleSwitch()->click();
        ASSERT_EQ(f.store.writes().size(), 1u);
        EXPECT_EQ(f.store.writes()[0].first, key);
        EXPECT_EQ(f.stored(key), !before);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(toggle->toggleSwitch());
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Value), before ? QStringLiteral("Off") : QStringLiteral("On"));
    }
}

TEST(PreferencesView, OpenAtLoginShowsTheLoginItemAndAFailureKeepsTheChoiceUntilShownAgain)
{
    PreferencesFixture f;
    SettingsToggle* toggle = f.view->generalPage()->launchAtLoginToggle();
    EXPECT_FALSE(toggle->isChecked());
    f.loginItem.setEnabled(true, nullptr);
    f.view->selectTab(PreferencesTab::History);
    f.view->selectTab(PreferencesTab::General);
    EXPECT_TRUE(toggle->isChecked()) << "read again when the page is shown";

    f.loginItem.failNext = QStringLiteral("read-only folder");
    toggle->toggleSwitch()->click();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_TRUE(f.loginItem.isEnabled());
    f.view->selectTab(PreferencesTab::History);
    f.view->selectTab(PreferencesTab::General);
    EXPECT_TRUE(toggle->isChecked());
}

// Values the HTTP API can store outside the choices are shown as they are and never written back by showing
// them; steps stay within 10 to 500.
TEST(PreferencesView, HistoryLimitsShowStoredValuesAndStepWithinTheRange)
{
    struct Row {
        const char* name;
        qint64 stored;
        int steps;
        const char* shown;
        nlohmann::json written; // null: nothing written
    };
    const Row rows[] = {
        {"55 up", 55, 1, "55", 65},
        {"55 down", 55, -1, "55", 45},
        {"500 up", 500, 1, "500", nullptr},
        {"10 down", 10, -1, "10", nullptr},
        {"1000 up", 1000, 1, "1000", nullptr},
        {"1000 down", 1000, -1, "1000", 500},
        {"5 down", 5, -1, "5", nullptr},
        {"5 up", 5, 1, "5", 15},
        {"490 five up", 490, 5, "490", 500},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PreferencesFixture f([&](InMemoryDefaultsStore& store) { store.preset("historyMaxEntries", row.stored); });
        RangeStepper* stepper = f.view->historyPage()->maxEntries();
        EXPECT_EQ(stepper->text(), QString::fromLatin1(row.shown));
        stepper->stepBy(row.steps);
        if (row.written.is_null()) {
            EXPECT_TRUE(f.store.writes().empty());
            EXPECT_EQ(stepper->text(), QString::fromLatin1(row.shown));
        } else {
            EXPECT_EQ(f.stored("historyMaxEntries"), row.written);
            EXPECT_EQ(stepper->value(), row.written.get<int>());
        }
    }

    for (const qint64 stored : {45LL, 0LL, 30LL}) {
        SCOPED_TRACE(stored);
        PreferencesFixture f([&](InMemoryDefaultsStore& store) { store.preset("historyAutoDeleteDays", stored); });
        QComboBox* days = f.view->historyPage()->autoDelete();
        EXPECT_EQ(days->currentIndex(), stored == 45 ? -1 : stored == 0 ? 4 : 2);
        // A change made elsewhere (the HTTP API) redraws the page; it must not write the shown value back.
        f.settings->setHistoryEnabled(false);
        EXPECT_EQ(f.store.writes().size(), 1u);
        days->activated(0); // the person picks "After 7 days"
        EXPECT_EQ(f.stored("historyAutoDeleteDays"), 7);
    }
}

TEST(PreferencesView, ClearingTheHistoryNeedsTheConfirmation)
{
    PreferencesFixture f;
    f.history->addEntry(QStringLiteral("keep me"), std::nullopt, QImage(), QImage());
    HistorySettingsPage* page = f.view->historyPage();
    for (const bool confirm : {false, true}) {
        page->clearButton()->click();
        QMessageBox* box = page->clearConfirmation();
        ASSERT_NE(box, nullptr);
        const auto buttons = box->buttons();
        const auto clear = std::find_if(buttons.begin(), buttons.end(), [box](QAbstractButton* b) {
            return box->buttonRole(b) == QMessageBox::DestructiveRole;
        });
        ASSERT_NE(clear, buttons.end());
        (confirm ? *clear : box->button(QMessageBox::Cancel))->click();
        EXPECT_EQ(f.history->entries().size(), confirm ? 0 : 1);
    }
}

TEST(PreferencesView, PortTokenAndDocs)
{
    PreferencesFixture f;
    APISettingsPage* page = f.view->apiPage();
    QLineEdit* port = page->portField();
    EXPECT_EQ(port->text(), QStringLiteral("9876"));
    // Taken when confirmed (Return, or leaving the field): "65536" must not leave its prefix 6553 behind.
    for (const char* refused : {"0", "65536", "99999", "abc", ""}) {
        port->clear();
        QTest::keyClicks(port, QString::fromLatin1(refused));
        QTest::keyClick(port, Qt::Key_Return);
        EXPECT_EQ(f.settings->apiPort(), 9876) << refused;
        EXPECT_EQ(port->text(), QStringLiteral("9876")) << refused;
    }
    port->selectAll();
    QTest::keyClicks(port, QStringLiteral("8080"));
    QTest::keyClick(port, Qt::Key_Return);
    EXPECT_EQ(f.stored("apiPort"), 8080);
    EXPECT_TRUE(f.delegate.calls.isEmpty()) << "the server moves only on Apply";
    page->applyButton()->click();
    page->docsButton()->click();
    EXPECT_EQ(f.delegate.calls, (QStringList{"restart", "open http://localhost:8080/docs"}));
    EXPECT_EQ(page->addressLabel()->text(), QStringLiteral("http://localhost:8080/"));

    // The token's form: APIConnectionInfo's test.
    EXPECT_EQ(page->generateButton()->text(), QStringLiteral("Generate"));
    page->generateButton()->click();
    const QString token = QString::fromStdString(f.stored("apiToken").get<std::string>());
    EXPECT_EQ(page->tokenField()->text(), token);
    EXPECT_EQ(page->generateButton()->text(), QStringLiteral("Regenerate"));
    page->generateButton()->click();
    EXPECT_NE(f.settings->apiToken(), token);

    page->tokenField()->clear();
    QTest::keyClicks(page->tokenField(), QStringLiteral("s3cret"));
    EXPECT_EQ(f.stored("apiToken"), "s3cret");
}

// The API's window list knows the window by what it is, not by its English title.
TEST(PreferencesWindow, IsListedAsPreferencesInEveryLanguage)
{
    PreferencesFixture f;
    for (const QString& language : Localization::shippedLanguages()) {
        SCOPED_TRACE(language.toStdString());
        Localization::install(*QCoreApplication::instance(), QLocale(language));
        PreferencesWindowController controller(*f.settings, *f.history, f.delegate);
        EXPECT_EQ(AppWindowList::windowType(controller.window(), nullptr), QStringLiteral("preferences"));
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
}
