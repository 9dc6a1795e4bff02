#include "widgets/shell/AppDelegate.h"
#include "FakeOverlayPresenter.h"
#include "QStringPrinter.h"
#include "core/api/HTTPAPIServer.h"
#include "core/api/HTTPAPIServerDelegate.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeDisplayCapture.h"
#include "platform/fake/FakeHotkeyService.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakePointerMonitor.h"
#include "platform/fake/FakeTextRecognizer.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/preferences/GeneralSettingsPage.h"
#include "widgets/preferences/HotkeyRecorderView.h"
#include "widgets/preferences/PreferencesView.h"
#include "widgets/preferences/PreferencesWindowController.h"
#include "widgets/shell/InfoWindows.h"
#include "widgets/shell/LegalAcceptanceWindowController.h"
#include "widgets/shell/LegalInfoWindowController.h"
#include "widgets/shell/Localization.h"
#include "widgets/shell/OnboardingWindowController.h"
#include "widgets/shell/PermissionPrompt.h"
#include "widgets/shell/TrayMenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A permission alert that answers as the test says and records how it was asked.
class FakePermissionPrompt : public PermissionPrompt {
public:
    bool ask(Style style) override
    {
        asked.append(style);
        return chooseOpenSettings;
    }
    void openSettings() override { ++settingsOpened; }

    bool chooseOpenSettings = false;
    QList<Style> asked;
    int settingsOpened = 0;
};

// Everything an AppDelegate is given, as fakes, with one white 800 x 600 monitor.
struct ShellFixture {
    explicit ShellFixture(bool acceptedAndOnboarded = true)
    {
        // The tests read the English texts, whatever the machine's locale.
        Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
        const Monitor display{1, QStringLiteral("MON-1"), QRect(0, 0, 800, 600)};
        QImage still(display.pixelSize(), QImage::Format_ARGB32);
        still.fill(Qt::white);
        displays.addDisplay(display, still);
        if (acceptedAndOnboarded) {
            store.preset(AppSettings::HasAcceptedLegalKey, true);
            store.preset(AppSettings::HasCompletedOnboardingKey, true);
        }
    }

    // Makes the controller and launches it; call after presetting the store.
    AppDelegate& launch()
    {
        settings = std::make_unique<AppSettings>(store, loginItem);
        history = std::make_unique<HistoryManager>(*settings, historyFolder.path());
        auto presenter = std::make_unique<FakeOverlayPresenter>();
        overlays = presenter.get();
        delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
            .settings = *settings,
            .history = *history,
            .displayCapture = displays,
            .hotkeyService = hotkeys,
            .textRecognizer = recognizer,
            .pasteboard = pasteboard,
            .permissionPrompt = prompt,
            .terminate = [this] { ++terminations; },
            .isSystemTrayAvailable = [] { return true; },
            .overlayPresenter = std::move(presenter),
            .pointerMonitor = &pointer,
        });
        delegate->applicationDidFinishLaunching();
        return *delegate;
    }

    QTemporaryDir historyFolder;
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<HistoryManager> history;
    FakeDisplayCapture displays;
    FakeHotkeyService hotkeys;
    FakeTextRecognizer recognizer;
    FakePasteboard pasteboard;
    FakePermissionPrompt prompt;
    FakePointerMonitor pointer;
    FakeOverlayPresenter* overlays = nullptr; // owned by the delegate
    int terminations = 0;
    std::unique_ptr<AppDelegate> delegate;
};

} // namespace

// A capture asked for before the terms are accepted shows them again and captures nothing until they are.
TEST(AppDelegate, NothingStartsBeforeTheTermsAreAccepted)
{
    ShellFixture f(false);
    AppDelegate& app = f.launch();
    LegalAcceptanceWindowController* terms = app.legalAcceptanceWindowController();
    terms->window()->hide();
    app.handleInstanceRequest(QStringLiteral("capture"));
    EXPECT_TRUE(terms->window()->isVisible());
    EXPECT_TRUE(f.overlays->shownImages.isEmpty());
    EXPECT_EQ(app.trayMenu(), nullptr);
    EXPECT_TRUE(f.hotkeys.calls.isEmpty());
    terms->acceptButton()->click();
    EXPECT_EQ(f.hotkeys.grabbed, FakeHotkeyService::Combination(26, 768));
    app.handleInstanceRequest(QStringLiteral("capture"));
    EXPECT_EQ(f.overlays->shownImages, QList<int>{1});
}

// Even when the person chooses the help page in the start-up alert, the program quits and builds nothing.
TEST(AppDelegate, StartWithoutCapturePermissionQuitsAfterTheAlert)
{
    ShellFixture f;
    f.displays.setCanCapture(false);
    f.prompt.chooseOpenSettings = true;
    AppDelegate& app = f.launch();
    EXPECT_EQ(f.prompt.asked, QList<PermissionPrompt::Style>{PermissionPrompt::Style::Critical});
    EXPECT_EQ(f.prompt.settingsOpened, 1);
    EXPECT_EQ(f.terminations, 1);
    EXPECT_EQ(app.trayMenu(), nullptr);
    EXPECT_TRUE(f.hotkeys.calls.isEmpty());
}

// A capture that finds no text tells the person, naming the languages looked for in the language of the program's
// windows.
TEST(AppDelegate, ACaptureWithoutTextIsToldInANotification)
{
    for (const auto& [language, languages] :
         {std::pair{"en", "German, English"}, std::pair{"de", "Deutsch, Englisch"}}) {
        SCOPED_TRACE(language);
        ShellFixture f;
        AppDelegate& app = f.launch();
        Localization::install(*QCoreApplication::instance(), QLocale(QString::fromLatin1(language)));
        QStringList told;
        QObject::connect(app.trayMenu(), &TrayMenu::notificationShown,
                         [&](const QString& title, const QString& text) { told << title << text; });
        f.recognizer.setText(QString());
        app.handleInstanceRequest(QStringLiteral("capture"));
        ASSERT_EQ(f.overlays->visibleCount(), 1);
        f.overlays->view(0)->finishSelection({100, 100, 200, 50});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, 5000)) << "no notification";
        EXPECT_TRUE(told.last().endsWith(QString::fromUtf8(languages))) << told.join(u'|').toStdString();
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
}

// Each legal page opens a fresh window, the previous one going with its controller; the preferences window is made
// once and opens on the named tab, or on the one shown last.
TEST(AppDelegate, MenuItemsAndApiOperationsOpenTheirWindows)
{
    ShellFixture f;
    AppDelegate& app = f.launch();
    HTTPAPIServerDelegate* api = app.apiServer().delegate();
    const auto shownTitles = [api] {
        QStringList titles;
        for (const nlohmann::json& window : api->appWindowList())
            titles.append(QString::fromStdString(window["title"].get<std::string>()));
        titles.sort(); // the list has no order
        return titles;
    };
    const auto trigger = [&app](const char* name) {
        app.trayMenu()->menu()->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };
    QPointer<EscClosableWindow> previous;
    for (const auto& [action, title] :
         {std::pair{"showImpressum", "Imprint"}, std::pair{"showTerms", "Terms of Use"},
          std::pair{"showPrivacy", "Privacy"}, std::pair{"showAccessibility", "Accessibility"}}) {
        trigger(action);
        EXPECT_EQ(shownTitles(), QStringList{QString::fromLatin1(title)});
        EXPECT_TRUE(previous.isNull()) << action;
        previous = app.infoWindows().legalInfoWindowController()->window();
    }

    api->openPreferences(std::nullopt);
    PreferencesWindowController* preferences = app.preferencesWindowController();
    ASSERT_NE(preferences, nullptr);
    for (const std::optional<QString>& tab :
         {std::optional<QString>(QStringLiteral("text")), std::optional<QString>()}) {
        preferences->window()->close();
        api->openPreferences(tab);
        EXPECT_EQ(app.preferencesWindowController(), preferences) << "made once";
        EXPECT_TRUE(preferences->window()->isVisible());
        EXPECT_EQ(preferences->view()->selectedTab(), PreferencesTab::TextProcessing);
    }
    trigger("captureText");
    EXPECT_EQ(f.overlays->shownImages, QList<int>{1});
    trigger("quit");
    EXPECT_EQ(f.terminations, 1);
}

// The sidebar exists only when history is on at launch; the tray's History item and the API then drive the same
// panel.
TEST(AppDelegate, HistorySidebarFollowsTheMenuAndTheApiOnlyWhenHistoryWasOnAtLaunch)
{
    for (const bool historyEnabled : {true, false}) {
        SCOPED_TRACE(historyEnabled);
        ShellFixture f;
        f.store.preset("historyEnabled", historyEnabled);
        AppDelegate& app = f.launch();
        HTTPAPIServerDelegate* api = app.apiServer().delegate();
        QAction* toggle = app.trayMenu()->menu()->findChild<QAction*>(QStringLiteral("toggleHistory"));
        EXPECT_EQ(f.pointer.isStarted(), historyEnabled) << "edge tracking only with a sidebar";
        toggle->trigger();
        EXPECT_EQ(api->isSidebarVisible(), historyEnabled);
        api->hideHistorySidebar();
        EXPECT_FALSE(api->isSidebarVisible());
        api->showHistorySidebar();
        EXPECT_EQ(api->isSidebarVisible(), historyEnabled);
    }
}

// A port that does not fit 16 bits must not wrap around to another port.
TEST(AppDelegate, ApiPortOutsideTheRangeDoesNotStartTheServer)
{
    for (const qint64 port : {0LL, 65536LL + 80}) {
        SCOPED_TRACE(port);
        ShellFixture f;
        f.store.preset("apiEnabled", true);
        f.store.preset("apiPort", port);
        EXPECT_FALSE(f.launch().apiServer().isRunning());
    }
}

// Where the desktop gives no global hotkey (grab status 11), the quick start tells what to bind instead of a key that
// does nothing.
TEST(AppDelegate, QuickStartNamesTheCaptureCommandWhereThereIsNoHotkey)
{
    for (const bool noHotkey : {false, true}) {
        SCOPED_TRACE(noHotkey);
        ShellFixture f(false);
        f.store.preset(AppSettings::HasAcceptedLegalKey, true);
        f.hotkeys.refuseAllWith = noHotkey ? 11 : 0;
        OnboardingWindowController* onboarding = f.launch().infoWindows().onboardingWindowController();
        ASSERT_NE(onboarding, nullptr);
        QString page;
        for (const QLabel* label : onboarding->pages()->widget(0)->findChildren<QLabel*>())
            page += label->text() + u'\n';
        EXPECT_EQ(page.contains(QStringLiteral("bind the command <code>quillora --capture</code>")), noHotkey)
            << page.toStdString();
    }
}

// Recording releases the grab (so that the current hotkey is recorded rather than starting a capture) until the
// recording ends, whatever ends it; the tray follows each registration; each press checks the capture permission.
TEST(AppDelegate, RecordedHotkeyIsRegisteredAndTheTrayTellsAFailureOnce)
{
    ShellFixture f;
    f.hotkeys.keysByScanCode = {{45, 40}, {17, 28}}; // K, 8
    f.hotkeys.heldByOthers = {{40, 2304}};           // Ctrl+Alt+K
    AppDelegate& app = f.launch();
    app.openPreferences(std::nullopt);
    PreferencesView* view = app.preferencesWindowController()->view();
    GeneralSettingsPage* page = view->generalPage();
    QAction* capture = app.trayMenu()->menu()->findChild<QAction*>(QStringLiteral("captureText"));
    QSignalSpy told(app.trayMenu(), &TrayMenu::messageShown);
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        QApplication::sendEvent(page->recorder(), &event);
    };
    const auto startRecording = [&] {
        page->hotkeyButton()->click();
        EXPECT_FALSE(f.hotkeys.grabbed.has_value()) << "released while recording";
    };
    startRecording();

    // A combination another program holds is stored all the same; cancelling the next recording registers it again.
    press(Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, 45);
    for (const bool cancelled : {false, true}) {
        if (cancelled) {
            startRecording();
            press(Qt::Key_Escape, Qt::NoModifier, 9);
        }
        EXPECT_FALSE(page->recorder()->isRecording());
        EXPECT_FALSE(f.hotkeys.grabbed.has_value());
        EXPECT_EQ(f.settings->hotkeyKeyCode(), 40u);
        EXPECT_TRUE(capture->shortcut().isEmpty());
    }
    ASSERT_EQ(told.size(), 1) << "told once";
    EXPECT_TRUE(told[0][1].toString().startsWith(QStringLiteral("Ctrl+Alt+K cannot be the capture hotkey")));

    // Reset registers the default; leaving the tab while recording registers it again.
    page->resetButton()->click();
    EXPECT_EQ(f.hotkeys.grabbed, FakeHotkeyService::Combination(26, 768));
    startRecording();
    view->selectTab(PreferencesTab::History);
    EXPECT_FALSE(page->recorder()->isRecording());
    EXPECT_EQ(f.hotkeys.grabbed, FakeHotkeyService::Combination(26, 768));

    view->selectTab(PreferencesTab::General);
    startRecording();
    press(Qt::Key_Asterisk, Qt::ControlModifier | Qt::ShiftModifier, 17);
    EXPECT_EQ(capture->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_8));
    ASSERT_TRUE(f.hotkeys.pressCombination(28, 768));
    EXPECT_EQ(f.overlays->shownImages, QList<int>{1});

    f.displays.setCanCapture(false);
    ASSERT_TRUE(f.hotkeys.pressCombination(28, 768));
    EXPECT_EQ(f.overlays->shownImages.size(), 1) << "nothing is captured without permission";
    EXPECT_EQ(f.terminations, 0) << "a missing permission at a capture does not quit";
    app.applicationWillTerminate();
    EXPECT_FALSE(f.hotkeys.grabbed.has_value()) << "termination releases the hotkey";
}
