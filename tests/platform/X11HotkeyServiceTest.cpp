#include "platform/linux/GuiApplication.h"

#include "app/GlobalHotkeyManager.h"
#include "platform/linux/X11HotkeyService.h"

#include "LogCapture.h"
#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>

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
    OtherClientGrab(const QString& keysym, int xMask) {
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(QT_TESTCASE_SOURCEDIR "/hold_key_grab.py"), keysym, QString::number(xMask)});
        if (m_process.waitForReadyRead(10000))
            m_answer = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~OtherClientGrab() {
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }
    const QString& answer() const { return m_answer; }

private:
    QProcess m_process;
    QString m_answer;
};

void key(const QString& keys) {
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

} // namespace

class X11HotkeyServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_service.setPressHandler([this] { ++m_presses; });
    }
    void TearDown() override { m_service.release(); }
    // Waits for exactly `count` presses in all, giving any further, unexpected press time to arrive.
    void expectPresses(int count) {
        EXPECT_TRUE(waitUntil([&] { return m_presses >= count; })) << "presses: " << m_presses;
        waitUntil([] { return false; }, 100);
        EXPECT_EQ(m_presses, count);
    }

    X11HotkeyService m_service;
    int m_presses = 0;
};

TEST_F(X11HotkeyServiceTest, PressArrivesWhateverTheLockKeys) {
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

TEST_F(X11HotkeyServiceTest, HeldKeyIsOnePress) {
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    run(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("ctrl+shift+7")});
    // Longer than the keyboard's auto-repeat delay, so the server repeats the key meanwhile.
    waitUntil([] { return false; }, 900);
    run(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("ctrl+shift+7")});
    expectPresses(1);
    key(QStringLiteral("ctrl+shift+7"));
    expectPresses(2);
}

TEST_F(X11HotkeyServiceTest, ReleaseLetsTheCombinationGo) {
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

TEST_F(X11HotkeyServiceTest, CombinationHeldByAnotherClientFailsAndLeavesNoVariantBehind) {
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

TEST_F(X11HotkeyServiceTest, KeysTheKeyboardCannotProduceAreRefused) {
    EXPECT_EQ(m_service.grab(200, CmdShift), X11HotkeyService::UnknownKey);
    EXPECT_EQ(m_service.grab(Seven, CmdShift), 0);
}
