#include <QGuiApplication>

#include "platform/linux/X11HotkeyService.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <QTimer>

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

TEST_F(X11HotkeyServiceTest, EveryPressCountsWhenAWindowTakesTheKeyboardOnThePress)
{
    // Takes the keyboard for a while on every press, as the capture overlay does when it appears: the key's
    // release then goes to this window, not to the hotkey's grab on the root window.
    X11TestSupport::ColourWindow window(QRect(200, 200, 40, 40), Qt::darkGreen);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.isExposed(); }));
    int grabMs = 100;
    int refusedGrabs = 0;
    m_service.setPressHandler([&] {
        ++m_presses;
        if (!window.setKeyboardGrabEnabled(true))
            ++refusedGrabs;
        else
            QTimer::singleShot(grabMs, &window, [&] { window.setKeyboardGrabEnabled(false); });
    });
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);

    // Taps: each release arrives while the window holds the keyboard.
    xdotool(QStringLiteral("key --delay 150 ctrl+shift+7 ctrl+shift+7 ctrl+shift+7"));
    expectPresses(3);

    // Held past the auto-repeat delay, with the window letting the keyboard go while the key is still down: the
    // repeats that follow are not new presses.
    grabMs = 150;
    xdotool(QStringLiteral("keydown ctrl+shift+7"));
    pause(1200);
    xdotool(QStringLiteral("keyup ctrl+shift+7"));
    expectPresses(4);
    EXPECT_EQ(refusedGrabs, 0);
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
    for (const char* keysym : {"7", "k", "z", "KP_End"})
        ASSERT_TRUE(keycodes.contains(QString::fromLatin1(keysym))) << keysym;
    const quint32 zKey = keycodes[QStringLiteral("z")];
    const auto remapZ = [zKey](const char* symbols) {
        run(QStringLiteral("xmodmap"), {"-e", QStringLiteral("keycode %1 = %2").arg(zKey).arg(symbols)});
    };
    constexpr quint32 Shift = 0x1, Lock = 0x2, SecondGroup = 0x2000;
    const struct {
        const char* name;
        bool german; // the key at z's place types y in the first group and z in the second
        quint32 keycode;
        quint32 state;
        std::optional<quint32> keyCode;
    } rows[] = {
        {"Shift+7 is the 7 key", false, keycodes[QStringLiteral("7")], Shift, Seven},
        {"k", false, keycodes[QStringLiteral("k")], 0, 40},
        {"Z with CapsLock", false, zKey, Shift | Lock, 6},
        {"keypad 1 has no key code", false, keycodes[QStringLiteral("KP_End")], XNumLock, std::nullopt},
        {"no such key", false, 3, 0, std::nullopt},
        {"first group", true, zKey, 0, 16},
        {"second group", true, zKey, SecondGroup, 6},
        {"second group, shifted", true, zKey, SecondGroup | Shift, 6},
    };
    bool german = false;
    for (const auto& row : rows) {
        if (row.german != german)
            remapZ(row.german ? "y Y z Z" : "z Z");
        german = row.german;
        EXPECT_EQ(m_service.keyCodeOfKey(row.keycode, row.state), row.keyCode) << row.name;
    }
    remapZ("z Z");
}
