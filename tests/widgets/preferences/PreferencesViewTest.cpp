#include "widgets/preferences/PreferencesView.h"

#include "QStringPrinter.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "widgets/preferences/APISettingsPage.h"
#include "widgets/preferences/GeneralSettingsPage.h"
#include "widgets/preferences/HistorySettingsPage.h"
#include "widgets/preferences/PreferencesDelegate.h"
#include "widgets/preferences/RangeStepper.h"
#include "widgets/preferences/SettingsToggle.h"
#include "widgets/preferences/TextSettingsPage.h"
#include "widgets/preferences/ToggleSwitch.h"
#include "widgets/shell/Localization.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records what the window asks of the application that the tests look at (the hotkey's: AppDelegateTest).
class RecordingDelegate : public PreferencesDelegate {
public:
    void suspendHotkey() override {}
    void registerHotkey() override {}
    void updateCaptureMenuItem() override {}
    int hotkeyStatus() const override { return 0; }
    std::optional<quint32> keyCodeOfKey(quint32, quint32) const override { return std::nullopt; }
    void restartAPIServer() override { calls.append(QStringLiteral("restart")); }
    void openURL(const QUrl& url) override { calls.append(QStringLiteral("open ") + url.toString()); }

    QStringList calls;
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

} // namespace

// Every switch shows and writes its own setting, and only when the person flips it.
TEST(PreferencesView, EachToggleWritesItsSetting)
{
    const char* keys[] = {"captureWindowShadows", "showCaptureHint",        "removeLineBreaks", "cleanupWhitespace",
                          "fixHyphenation",       "copyToPrimarySelection", "historyEnabled",   "apiEnabled"};
    // Neighbours start opposite, so that two switches wired to each other's setting show it.
    PreferencesFixture f([&](InMemoryDefaultsStore& store) {
        for (size_t i = 0; i < std::size(keys); ++i)
            store.preset(keys[i], i % 2 == 0);
    });
    PreferencesView* v = f.view.get();
    SettingsToggle* const toggles[] = {
        v->generalPage()->shadowsToggle(),  v->generalPage()->captureHintToggle(),
        v->textPage()->lineBreaksToggle(),  v->textPage()->whitespaceToggle(),
        v->textPage()->hyphenationToggle(), v->textPage()->primarySelectionToggle(),
        v->historyPage()->enableToggle(),   v->apiPage()->enableToggle(),
    };
    EXPECT_TRUE(f.store.writes().empty()) << "showing the window writes nothing";
    for (size_t i = 0; i < std::size(keys); ++i) {
        SCOPED_TRACE(keys[i]);
        const bool before = i % 2 == 0;
        ASSERT_EQ(toggles[i]->isChecked(), before);
        f.store.clearWrites();
        toggles[i]->toggleSwitch()->click();
        EXPECT_EQ(f.store.writes().size(), 1u);
        EXPECT_EQ(f.stored(keys[i]), !before);
    }
}

// Values the HTTP API can store outside the choices are shown as they are and never written back by showing
// them; steps stay within 10 to 500.
TEST(PreferencesView, HistoryLimitsShowStoredValuesAndStepWithinTheRange)
{
    const struct {
        qint64 stored;
        int steps;
        int written; // 0: nothing written
    } rows[] = {{55, 1, 65},     {55, -1, 45}, {500, 1, 0}, {10, -1, 0},  {1000, 1, 0},
                {1000, -1, 500}, {5, -1, 0},   {5, 1, 15},  {490, 5, 500}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.stored << " by " << row.steps);
        PreferencesFixture f([&](InMemoryDefaultsStore& store) { store.preset("historyMaxEntries", row.stored); });
        RangeStepper* stepper = f.view->historyPage()->maxEntries();
        EXPECT_EQ(stepper->text(), QString::number(row.stored));
        stepper->stepBy(row.steps);
        EXPECT_EQ(stepper->text(), QString::number(row.written ? row.written : row.stored));
        EXPECT_EQ(f.stored("historyMaxEntries"), row.written ? row.written : row.stored);
        EXPECT_EQ(f.store.writes().size(), row.written ? 1u : 0u);
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
        QAbstractButton* clear = nullptr;
        for (QAbstractButton* button : box->buttons())
            clear = box->buttonRole(button) == QMessageBox::DestructiveRole ? button : clear;
        ASSERT_NE(clear, nullptr);
        (confirm ? clear : box->button(QMessageBox::Cancel))->click();
        EXPECT_EQ(f.history->entries().size(), confirm ? 0 : 1);
    }
}

// The port is taken when confirmed (Return, or leaving the field): "65536" must not leave its prefix 6553 behind.
TEST(PreferencesView, PortIsTakenOnlyInTheRangeAndTheDocsOpenOnTheAppliedPort)
{
    PreferencesFixture f;
    APISettingsPage* page = f.view->apiPage();
    QLineEdit* port = page->portField();
    for (const QString typed : {"0", "65536", "99999", "abc", "", "8080"}) {
        const int expected = typed == QStringLiteral("8080") ? 8080 : 9876;
        port->clear();
        QTest::keyClicks(port, typed);
        QTest::keyClick(port, Qt::Key_Return);
        EXPECT_EQ(f.settings->apiPort(), expected) << typed.toStdString();
        EXPECT_EQ(port->text(), QString::number(expected)) << typed.toStdString();
    }
    EXPECT_EQ(f.stored("apiPort"), 8080);
    EXPECT_TRUE(f.delegate.calls.isEmpty()) << "the server moves only on Apply";
    page->applyButton()->click();
    page->docsButton()->click();
    EXPECT_EQ(f.delegate.calls, (QStringList{"restart", "open http://localhost:8080/docs"}));
    page->tokenField()->clear();
    QTest::keyClicks(page->tokenField(), QStringLiteral("s3cret"));
    EXPECT_EQ(f.stored("apiToken"), "s3cret");
}
