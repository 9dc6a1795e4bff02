#include "ShellFixture.h"

#include "LogCapture.h"
#include "api/HTTPAPIServer.h"
#include "app/AboutWindowController.h"
#include "app/LegalAcceptanceWindowController.h"
#include "app/LegalInfoWindowController.h"
#include "app/OnboardingWindowController.h"
#include "capture/EscClosableWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList visibleWindowTitles()
{
    QStringList titles;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !qobject_cast<QMenu*>(widget))
            titles.append(widget->windowTitle());
    return titles;
}

void acceptedAndOnboarded(ShellFixture& f)
{
    f.store.preset(AppSettings::HasAcceptedLegalKey, true);
    f.store.preset(AppSettings::HasCompletedOnboardingKey, true);
}

AppDelegate& launched(ShellFixture& f)
{
    AppDelegate& app = f.make();
    app.applicationDidFinishLaunching();
    return app;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The menu as a flat list: object names of actions, "-" for separators, submenus indented with ">".
QStringList menuModel(const QMenu* menu, const QString& indent = QString())
{
    QStringList model;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            model.append(indent + QStringLiteral("-"));
        else
            model.append(indent + action->objectName());
        if (action->menu())
            model += menuModel(action->menu(), indent + QStringLiteral(">"));
    }
    return model;
}

QAction* findAction(QMenu* menu, const QString& name)
{
    return menu->findChild<QAction*>(name);
}

} // namespace

// Declining with the button and accepting with its launch lines are driven through the real program in
// tests/e2e/first_start_test.py; these are the gates it cannot see.
TEST(AppDelegate, NothingStartsBeforeTheTermsAndClosingThemIsOneDecline)
{
    ShellFixture f;
    LogCapture log;
    AppDelegate& app = launched(f);

    EXPECT_EQ(app.state(), AppDelegate::State::AwaitingTerms);
    EXPECT_EQ(visibleWindowTitles(), QStringList{QStringLiteral("Welcome to Quillora")});
    EXPECT_EQ(app.statusMenu(), nullptr);
    EXPECT_TRUE(f.displays.calls().isEmpty()) << "no permission gate before the terms are accepted";

    EscClosableWindow* terms = app.legalAcceptanceWindowController()->window();
    terms->close();
    terms->close();
    EXPECT_EQ(log.outLines(), QStringList{QStringLiteral("Legal terms declined - quitting app")});
    EXPECT_EQ(f.terminations, 1);
    EXPECT_FALSE(f.settings->hasAcceptedLegal());
    EXPECT_TRUE(f.hotkeys.calls.isEmpty()) << "no hotkey before the terms are accepted";
}

TEST(AppDelegate, RequestsFromLaterStartsWaitForTheTerms)
{
    ShellFixture f;
    AppDelegate& app = launched(f);
    app.legalAcceptanceWindowController()->window()->hide();

    app.handleInstanceRequest(QStringLiteral("capture"));
    EXPECT_TRUE(f.overlays->shownImages.isEmpty()) << "no capture before the terms are accepted";
    EXPECT_TRUE(app.legalAcceptanceWindowController()->window()->isVisible());

    app.legalAcceptanceWindowController()->acceptButton()->click();
    EXPECT_EQ(app.state(), AppDelegate::State::Running);
    EXPECT_EQ(f.hotkeys.grabbed, FakeHotkeyService::Combination(26, 768));
    app.handleInstanceRequest(QStringLiteral("capture"));
    EXPECT_EQ(f.overlays->shownImages, QList<int>{1});
}

// Whatever the person chooses in the start-up alert, the program quits and builds nothing.
TEST(AppDelegate, StartWithoutCapturePermissionQuitsAfterTheAlert)
{
    for (const bool openSettings : {false, true}) {
        SCOPED_TRACE(openSettings ? "open help chosen" : "quit chosen");
        ShellFixture f;
        acceptedAndOnboarded(f);
        f.displays.setCanCapture(false);
        f.prompt.chooseOpenSettings = openSettings;
        LogCapture log;
        AppDelegate& app = launched(f);

        EXPECT_EQ(log.outLines(),
                  (QStringList{
                      QStringLiteral("🔍 Checking Screen Recording permission..."),
                      QStringLiteral("❌ Screen Recording: Permission NOT granted"),
                      QStringLiteral("⛔ Screen Recording permission NOT granted - blocking app startup"),
                      QStringLiteral("🚪 Quitting app - user must grant permission and restart"),
                  }));
        EXPECT_EQ(f.prompt.asked, QList<PermissionPrompt::Style>{PermissionPrompt::Style::Critical});
        EXPECT_EQ(f.prompt.settingsOpened, openSettings ? 1 : 0);
        EXPECT_EQ(f.terminations, 1);
        EXPECT_EQ(app.statusMenu(), nullptr);
        EXPECT_TRUE(f.hotkeys.calls.isEmpty());
        EXPECT_EQ(f.displays.calls().size(), 1) << "the throw-away capture comes before the check";
    }
}

TEST(AppDelegate, EveryHotkeyPressChecksPermissionBeforeFreezingEveryMonitor)
{
    ShellFixture f(2);
    acceptedAndOnboarded(f);
    launched(f);
    // The recognition models are loaded at launch, not on the first capture.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.recognizer.warmUps().size() == 1; }));

    ASSERT_TRUE(f.hotkeys.pressCombination(26, 768));
    EXPECT_EQ(f.overlays->shownImages, QList<int>{2});
    EXPECT_EQ(f.overlays->hints, QList<bool>{true});

    f.displays.setCanCapture(false);
    f.prompt.chooseOpenSettings = true;
    ASSERT_TRUE(f.hotkeys.pressCombination(26, 768));
    EXPECT_EQ(f.overlays->shownImages.size(), 1) << "nothing is captured without permission";
    EXPECT_EQ(f.prompt.asked, QList<PermissionPrompt::Style>{PermissionPrompt::Style::Warning});
    EXPECT_EQ(f.prompt.settingsOpened, 1);
    EXPECT_EQ(f.terminations, 0) << "a missing permission at a capture does not quit";
}

TEST(AppDelegate, MenuHasTheItemsInOrderAndEachOpensItsWindow)
{
    ShellFixture f;
    acceptedAndOnboarded(f);
    AppDelegate& app = launched(f);
    QMenu* menu = app.statusMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menuModel(menu), (QStringList{"captureText", "toggleHistory", "-", "showPreferences", "-", "legalMenu",
                                            ">showAbout", ">showOnboardingFromMenu", ">-", ">showImpressum",
                                            ">showTerms", ">showPrivacy", ">showAccessibility", "-", "quit"}));
    EXPECT_EQ(menu->actions().first()->text(), QStringLiteral("Capture Text"));

    findAction(menu, "showAbout")->trigger();
    ASSERT_NE(app.aboutWindowController(), nullptr);
    EXPECT_TRUE(app.aboutWindowController()->window()->isVisible());
    auto* about = app.aboutWindowController();
    findAction(menu, "showAbout")->trigger();
    EXPECT_EQ(app.aboutWindowController(), about) << "the About window is made once";

    findAction(menu, "showOnboardingFromMenu")->trigger();
    ASSERT_NE(app.onboardingWindowController(), nullptr);
    EXPECT_TRUE(app.onboardingWindowController()->window()->isVisible());

    // Each legal page opens a fresh window; the previous one goes with its controller.
    const struct {
        const char* action;
        int kind;
        QString title;
    } pages[] = {
        {"showImpressum", 0, QStringLiteral("Imprint")},  {"showTerms", 1, QStringLiteral("Terms of Use")},
        {"showPrivacy", 2, QStringLiteral("Privacy")},    {"showAccessibility", 3, QStringLiteral("Accessibility")},
        {"showTerms", 1, QStringLiteral("Terms of Use")},
    };
    QPointer<EscClosableWindow> previous;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.action);
        findAction(menu, page.action)->trigger();
        LegalInfoWindowController* controller = app.legalInfoWindowController();
        ASSERT_NE(controller, nullptr);
        EXPECT_EQ(controller->kind(), page.kind);
        EXPECT_EQ(controller->window()->windowTitle(), page.title);
        EXPECT_TRUE(controller->window()->isVisible());
        EXPECT_TRUE(previous.isNull());
        previous = controller->window();
    }

    findAction(menu, "quit")->trigger();
    EXPECT_EQ(f.terminations, 1);
}

// Each row: the stored hotkey, and the shortcut the capture item shows for it (the texts themselves are
// HotkeyTextTest's).
TEST(AppDelegate, CaptureItemFollowsTheHotkey)
{
    const struct {
        quint32 keyCode;
        quint32 modifiers;
        const char* shortcut;
    } rows[] = {
        {26, 768, "Ctrl+Shift+7"},
        {0, 4096 + 2048 + 512 + 256, "Meta+Alt+Shift+Ctrl+A"},
        {49, 256, ""}, // space is not a character key
    };
    ShellFixture f;
    acceptedAndOnboarded(f);
    AppDelegate& app = launched(f);
    for (const auto& row : rows) {
        f.settings->setHotkeyKeyCode(row.keyCode);
        f.settings->setHotkeyModifiers(row.modifiers);
        app.updateCaptureMenuItem();
        EXPECT_EQ(app.statusMenu()->actions().first()->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)))
            << row.shortcut;
    }
}

// The failure line and a later registration of the same manager are checked in GlobalHotkeyManagerTest and, with
// another X client holding the keys, in tests/e2e/busy_hotkey_test.py.
TEST(AppDelegate, HotkeyHeldByAnotherClientKeepsTheProgramAndANewHotkeyWorks)
{
    ShellFixture f;
    acceptedAndOnboarded(f);
    f.hotkeys.heldByOthers.append({26, 768});
    AppDelegate& app = launched(f);
    EXPECT_EQ(app.state(), AppDelegate::State::Running);
    EXPECT_FALSE(f.hotkeys.pressCombination(26, 768));

    f.settings->setHotkeyKeyCode(28); // the 8 key
    app.registerHotkey();
    ASSERT_TRUE(f.hotkeys.pressCombination(28, 768));
    EXPECT_EQ(f.overlays->shownImages.size(), 1);

    app.applicationWillTerminate();
    EXPECT_FALSE(f.hotkeys.grabbed.has_value()) << "termination releases the hotkey";
}

// The start lines are read from the real program in tests/e2e/api_e2e.py.
TEST(AppDelegate, ApiServerRestartsSilently)
{
    ShellFixture f;
    acceptedAndOnboarded(f);
    const quint16 port = freePort();
    f.store.preset("apiEnabled", true);
    f.store.preset("apiPort", port);
    LogCapture log;
    AppDelegate& app = launched(f);
    EXPECT_TRUE(log.containsOut(QStringLiteral("🔧 Starting API server on port %1...").arg(port)));
    EXPECT_TRUE(app.apiServer().isRunning());

    log.clear();
    f.settings->setApiEnabled(false);
    app.restartAPIServer();
    EXPECT_FALSE(app.apiServer().isRunning());
    for (const QString& line : log.outLines())
        EXPECT_FALSE(line.startsWith(QStringLiteral("🔧"))) << "a restart announces nothing of its own";
    app.applicationWillTerminate();
}

// A port that does not fit 16 bits must not wrap around to another port.
TEST(AppDelegate, ApiPortOutsideTheRangeDoesNotStartTheServer)
{
    for (const qint64 port : {0LL, 65536LL + 80, -1LL}) {
        SCOPED_TRACE(port);
        ShellFixture f;
        acceptedAndOnboarded(f);
        f.store.preset("apiEnabled", true);
        f.store.preset("apiPort", port);
        LogCapture log;
        AppDelegate& app = launched(f);
        EXPECT_FALSE(app.apiServer().isRunning());
        EXPECT_TRUE(log.containsOut(
            QStringLiteral("⚠️ HTTP API Server not started: port %1 is outside 1-65535").arg(port)));
        for (const QString& line : log.outLines())
            EXPECT_FALSE(line.startsWith(QStringLiteral("🔧 Starting")));
    }
}

// Finishing it with the keyboard and its stored flag are checked on the real program in
// tests/e2e/first_start_test.py.
TEST(AppDelegate, QuickStartAppliesOpenAtLoginOnlyWhenFinished)
{
    for (const bool finish : {false, true}) {
        SCOPED_TRACE(finish ? "finished" : "closed early");
        ShellFixture f;
        f.store.preset(AppSettings::HasAcceptedLegalKey, true);
        if (!finish) {
            f.loginItem.setEnabled(true, nullptr);
            f.loginItem.requests.clear();
        }
        AppDelegate& app = launched(f);
        OnboardingWindowController* onboarding = app.onboardingWindowController();
        ASSERT_NE(onboarding, nullptr);
        QPointer<EscClosableWindow> window = onboarding->window();
        EXPECT_EQ(onboarding->launchAtLoginCheckBox()->isChecked(), !finish) << "the box shows the current state";
        onboarding->launchAtLoginCheckBox()->setChecked(true);
        onboarding->nextButton()->click();
        onboarding->nextButton()->click();
        EXPECT_FALSE(f.settings->hasCompletedOnboarding()) << "only the last page finishes";
        if (!finish) {
            window->close();
            EXPECT_TRUE(f.loginItem.requests.isEmpty());
            EXPECT_FALSE(f.settings->hasCompletedOnboarding());
            continue;
        }
        onboarding->nextButton()->click();
        EXPECT_TRUE(f.settings->hasCompletedOnboarding());
        EXPECT_EQ(f.loginItem.requests, QList<bool>{true});
        EXPECT_EQ(app.onboardingWindowController(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()) << "the finished quick start is released";
    }
}

TEST(AppDelegate, RunsWithoutATray)
{
    ShellFixture f;
    acceptedAndOnboarded(f);
    f.trayAvailable = false;
    LogCapture log;
    AppDelegate& app = launched(f);
    EXPECT_EQ(app.state(), AppDelegate::State::Running);
    EXPECT_TRUE(f.hotkeys.grabbed.has_value());
    EXPECT_EQ(log.outLines().filter(QStringLiteral("⚠️ No system tray available")).size(), 1);
}
