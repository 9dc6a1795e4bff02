#include <QGuiApplication>

#include "platform/linux/X11HotkeyService.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

using X11TestSupport::pause;
using X11TestSupport::run;
using X11TestSupport::waitUntil;
using X11TestSupport::xdotool;

namespace {

constexpr quint32 Seven = 26;
constexpr quint32 CmdShift = 768;
constexpr int XControlShift = 0x5;
constexpr int XNumLock = 0x10;

// Another X client holding a key grab (hold_key_grab.py) until it is destroyed; answer() says whether it got it.
struct OtherClientGrab {
    OtherClientGrab(const char* keysym, int xMask)
    {
        process.start(QStringLiteral("python3"),
                      {QT_TESTCASE_SOURCEDIR "/hold_key_grab.py", keysym, QString::number(xMask)});
        process.waitForReadyRead(10000);
    }
    ~OtherClientGrab()
    {
        process.closeWriteChannel();
        process.waitForFinished(5000);
    }
    QByteArray answer() { return process.readLine().trimmed(); }
    QProcess process;
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
        pause(100);
        EXPECT_EQ(m_presses, count);
    }

    X11HotkeyService m_service;
    int m_presses = 0;
};

TEST_F(X11HotkeyServiceTest, PressArrivesWhateverTheLockKeysAndAHeldKeyIsOnePress)
{
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    // Other modifiers make another combination, which stays with the focused application.
    xdotool(QStringLiteral("key ctrl+7 ctrl+alt+shift+7 ctrl+shift+8"));
    // Lock keys toggled one after the other: none, NumLock, both, CapsLock, none.
    int presses = 0;
    for (const char* toggle : {"", "Num_Lock", "Caps_Lock", "Num_Lock", "Caps_Lock"}) {
        SCOPED_TRACE(toggle);
        xdotool(QStringLiteral("key %1 ctrl+shift+7").arg(toggle).simplified());
        expectPresses(++presses);
    }

    // Held longer than the keyboard's auto-repeat delay, while the handler keeps the main thread busy: the
    // repeats are read only after the key went up, and they are still repeats.
    m_service.setPressHandler([this] {
        ++m_presses;
        QThread::msleep(1500);
    });
    xdotool(QStringLiteral("keydown ctrl+shift+7 sleep 0.9 keyup ctrl+shift+7"));
    expectPresses(6);
}

TEST_F(X11HotkeyServiceTest, CombinationHeldElsewhereFailsWholeAndReleaseLetsItGo)
{
    {
        // The other client holds only the NumLock variant: the plain variant is granted to us first and must be
        // given back when the refusal of the other arrives.
        OtherClientGrab other("7", XControlShift | XNumLock);
        ASSERT_EQ(other.answer(), "held");
        EXPECT_EQ(m_service.grab(Seven, CmdShift), 10) << "BadAccess";
        EXPECT_EQ(OtherClientGrab("7", XControlShift).answer(), "held") << "the plain variant was left grabbed";
    }
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    m_service.release();
    EXPECT_EQ(OtherClientGrab("7", XControlShift).answer(), "held");
}

// The recorder's key code comes from the key's own symbol at its first level: not from the character Shift makes
// of it, and from the active group of the layout.
TEST_F(X11HotkeyServiceTest, KeyCodeOfAPressedKeyIsItsUnshiftedSymbols)
{
    // "keycode  16 = 7 ampersand 7 ampersand": the X key codes of this server's keymap.
    QHash<QString, quint32> keycodes;
    for (const QString& line : QString::fromUtf8(run(QStringLiteral("xmodmap"), {"-pke"})).split(u'\n')) {
        const QStringList words = line.simplified().split(u' ');
        if (words.size() >= 4 && words[0] == QLatin1String("keycode") && !keycodes.contains(words[3]))
            keycodes.insert(words[3], words[1].toUInt());
    }
    ASSERT_TRUE(keycodes.contains("7") && keycodes.contains("z") && keycodes.contains("KP_End"));
    const quint32 zKey = keycodes[QStringLiteral("z")];
    const auto remapZ = [zKey](const char* symbols) {
        run(QStringLiteral("xmodmap"), {"-e", QStringLiteral("keycode %1 = %2").arg(zKey).arg(symbols)});
    };
    constexpr quint32 Shift = 0x1, Lock = 0x2, SecondGroup = 0x2000;
    const auto keyCode = [this](quint32 keycode, quint32 state) { return m_service.keyCodeOfKey(keycode, state); };
    EXPECT_EQ(keyCode(keycodes[QStringLiteral("7")], Shift), Seven) << "Shift+7 is the 7 key";
    EXPECT_EQ(keyCode(zKey, Shift | Lock), 6u) << "Z with CapsLock";
    EXPECT_EQ(keyCode(keycodes[QStringLiteral("KP_End")], XNumLock), std::nullopt) << "keypad 1 has no key code";
    EXPECT_EQ(keyCode(3, 0), std::nullopt) << "no such key";
    // The key at z's place types y in the first group and z in the second, as on a German keyboard.
    remapZ("y Y z Z");
    EXPECT_EQ(keyCode(zKey, 0), 16u) << "first group";
    EXPECT_EQ(keyCode(zKey, SecondGroup), 6u) << "second group";
    EXPECT_EQ(keyCode(zKey, SecondGroup | Shift), 6u) << "second group, shifted";
    remapZ("z Z");
}
