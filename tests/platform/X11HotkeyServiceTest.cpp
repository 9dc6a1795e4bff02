#include <QGuiApplication>

#include "app/GlobalHotkeyManager.h"
#include "platform/linux/X11HotkeyService.h"

#include "LogCapture.h"
#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <QTimer>

#include <memory>

using X11TestSupport::run;
using X11TestSupport::waitUntil;

namespace {

constexpr quint32 Seven = 26;
constexpr quint32 Eight = 28;
constexpr quint32 CmdShift = 768;
constexpr int XControlShift = 0x5;
constexpr int XNumLock = 0x10;

// Another X client holding a key grab (tests/platform/hold_key_grab.py) until it is destroyed.
class OtherClientGrab {
public:
    OtherClientGrab(const QString& keysym, int xMask)
    {
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(QT_TESTCASE_SOURCEDIR "/hold_key_grab.py"), keysym, QString::number(xMask)});
        if (m_process.waitForReadyRead(10000))
            m_answer = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~OtherClientGrab()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }
    const QString& answer() const { return m_answer; }

private:
    QProcess m_process;
    QString m_answer;
};

void key(const QString& keys)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

// Keeps the event loop running meanwhile, so that press handlers run while the keys go down and up as they would
// under a user's fingers.
void xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    EXPECT_TRUE(waitUntil([&] { return process.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

void pause(int ms)
{
    waitUntil([] { return false; }, ms);
}

// Takes the keyboard for a while on every hotkey press, as the capture overlay does when it appears: the key's
// release then goes to this window, not to the hotkey's grab on the root window.
class KeyboardGrabbingWindow {
public:
    KeyboardGrabbingWindow()
        : m_window(QRect(200, 200, 40, 40), Qt::darkGreen)
    {
        m_window.show();
        EXPECT_TRUE(waitUntil([&] { return m_window.isExposed(); }));
    }
    void grabFor(int ms)
    {
        if (!m_window.setKeyboardGrabEnabled(true)) {
            ++m_refusedGrabs;
            return;
        }
        QTimer::singleShot(ms, &m_window, [this] { m_window.setKeyboardGrabEnabled(false); });
    }
    int refusedGrabs() const { return m_refusedGrabs; }

private:
    X11TestSupport::ColourWindow m_window;
    int m_refusedGrabs = 0;
};

} // namespace

class X11HotkeyServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_service.setPressHandler([this] { ++m_presses; });
    }
    void TearDown() override { m_service.release(); }
    // Waits for exactly `count` presses in all, giving any further, unexpected press time to arrive.
    void expectPresses(int count)
    {
        EXPECT_TRUE(waitUntil([&] { return m_presses >= count; })) << "presses: " << m_presses;
        waitUntil([] { return false; }, 100);
        EXPECT_EQ(m_presses, count);
    }

    X11HotkeyService m_service;
    int m_presses = 0;
};

TEST_F(X11HotkeyServiceTest, PressArrivesWhateverTheLockKeys)
{
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(1);

    // Other modifiers make another combination, which stays with the focused application.
    key(QStringLiteral("ctrl+7"));
    key(QStringLiteral("ctrl+alt+shift+7"));
    key(QStringLiteral("ctrl+shift+8"));
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(2);

    key(QStringLiteral("Num_Lock"));
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(3);
    key(QStringLiteral("Caps_Lock"));
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(4);
    key(QStringLiteral("Num_Lock"));
    key(QStringLiteral("Caps_Lock"));
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(5);
}

TEST_F(X11HotkeyServiceTest, HeldKeyIsOnePress)
{
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    run(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("ctrl+shift+7")});
    // Longer than the keyboard's auto-repeat delay, so the server repeats the key meanwhile.
    waitUntil([] { return false; }, 900);
    run(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("ctrl+shift+7")});
    expectPresses(1);
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(2);

    // A busy main thread reads the repeats only after the key went up; they are still repeats.
    m_service.setPressHandler([this] {
        ++m_presses;
        QThread::msleep(1500);
    });
    xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl+shift+7"), QStringLiteral("sleep"), QStringLiteral("0.9"),
             QStringLiteral("keyup"), QStringLiteral("ctrl+shift+7")});
    expectPresses(3);
}

TEST_F(X11HotkeyServiceTest, EveryPressCountsWhenAWindowTakesTheKeyboardOnThePress)
{
    KeyboardGrabbingWindow grabber;
    int grabMs = 100;
    m_service.setPressHandler([&] {
        ++m_presses;
        grabber.grabFor(grabMs);
    });
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);

    // Taps: each release arrives while the window holds the keyboard.
    xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("150"), QStringLiteral("ctrl+shift+7"),
             QStringLiteral("ctrl+shift+7"), QStringLiteral("ctrl+shift+7")});
    expectPresses(3);

    // Held past the auto-repeat delay, with the window letting the keyboard go while the key is still down: the
    // repeats that follow are not new presses.
    grabMs = 150;
    xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl+shift+7")});
    pause(1200);
    xdotool({QStringLiteral("keyup"), QStringLiteral("ctrl+shift+7")});
    expectPresses(4);

    // Let go after the window gave the keyboard back: the release reaches whichever window has the focus, and
    // the next press is still a new one.
    xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl+shift+7")});
    pause(300);
    xdotool({QStringLiteral("keyup"), QStringLiteral("ctrl+shift+7")});
    expectPresses(5);
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(6);
    EXPECT_EQ(grabber.refusedGrabs(), 0);
}

TEST_F(X11HotkeyServiceTest, ReleaseLetsTheCombinationGo)
{
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    m_service.release();
    {
        OtherClientGrab other(QStringLiteral("7"), XControlShift);
        EXPECT_EQ(other.answer(), QStringLiteral("held"));
    }
    ASSERT_EQ(m_service.grab(Eight, CmdShift), 0);
    key(QStringLiteral("ctrl+shift+7"));
    key(QStringLiteral("ctrl+shift+8"));
    expectPresses(1);

    // Grabbing again replaces the earlier combination.
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    key(QStringLiteral("ctrl+shift+8"));
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(2);
}

TEST_F(X11HotkeyServiceTest, CombinationHeldByAnotherClientFailsAndLeavesNoVariantBehind)
{
    LogCapture log;
    GlobalHotkeyManager manager(m_service);
    int managerPresses = 0;
    {
        // The other client holds only the NumLock variant: the plain variant is granted to us first and must be
        // given back when the refusal of the other arrives.
        OtherClientGrab other(QStringLiteral("7"), XControlShift | XNumLock);
        ASSERT_EQ(other.answer(), QStringLiteral("held"));
        manager.registerHotkey(Seven, CmdShift, [&] { ++managerPresses; });
        EXPECT_EQ(log.outLines(), QStringList({QStringLiteral("Failed to register hotkey: 10")}));
        EXPECT_FALSE(manager.isRegistered());

        OtherClientGrab third(QStringLiteral("7"), XControlShift);
        EXPECT_EQ(third.answer(), QStringLiteral("held")) << "the plain variant was left grabbed";
    }

    manager.registerHotkey(Seven, CmdShift, [&] { ++managerPresses; });
    EXPECT_TRUE(manager.isRegistered());
    key(QStringLiteral("ctrl+shift+7"));
    EXPECT_TRUE(waitUntil([&] { return managerPresses == 1; }));

    // While we hold it, others are refused.
    OtherClientGrab other(QStringLiteral("7"), XControlShift);
    EXPECT_EQ(other.answer(), QStringLiteral("refused 10"));
}

TEST_F(X11HotkeyServiceTest, KeysTheKeyboardCannotProduceAreRefused)
{
    EXPECT_EQ(m_service.grab(200, CmdShift), X11HotkeyService::UnknownKey);
    EXPECT_EQ(m_service.grab(Seven, CmdShift), 0);
}
