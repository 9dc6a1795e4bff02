#include <QGuiApplication>

#include "platform/linux/X11HotkeyService.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <QTimer>

using X11TestSupport::pause;
using X11TestSupport::waitUntil;
using X11TestSupport::xdotool;

namespace {

constexpr quint32 Seven = 26;
constexpr quint32 Eight = 28;
constexpr quint32 CmdShift = 768;
constexpr int XControlShift = 0x5;
constexpr int XNumLock = 0x10;

// Another X client holding a key grab (tests/platform/linux/hold_key_grab.py) until it is destroyed.
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
    const char* toggles[] = {nullptr, "Num_Lock", "Caps_Lock", "Num_Lock", "Caps_Lock"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        if (toggles[i])
            xdotool(QStringLiteral("key ") + QLatin1String(toggles[i]));
        xdotool(QStringLiteral("key ctrl+shift+7"));
        expectPresses(i + 1);
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

TEST_F(X11HotkeyServiceTest, CombinationHeldElsewhereFailsWholeAndReleaseOrRegrabLetsItGo)
{
    {
        // The other client holds only the NumLock variant: the plain variant is granted to us first and must be
        // given back when the refusal of the other arrives.
        OtherClientGrab other(QStringLiteral("7"), XControlShift | XNumLock);
        ASSERT_EQ(other.answer(), QStringLiteral("held"));
        EXPECT_EQ(m_service.grab(Seven, CmdShift), 10) << "BadAccess";
        EXPECT_EQ(OtherClientGrab(QStringLiteral("7"), XControlShift).answer(), QStringLiteral("held"))
            << "the plain variant was left grabbed";
    }
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    m_service.release();
    EXPECT_EQ(OtherClientGrab(QStringLiteral("7"), XControlShift).answer(), QStringLiteral("held"));

    ASSERT_EQ(m_service.grab(Eight, CmdShift), 0);
    xdotool(QStringLiteral("key ctrl+shift+7 ctrl+shift+8"));
    expectPresses(1);
    // Grabbing again replaces the earlier combination.
    ASSERT_EQ(m_service.grab(Seven, CmdShift), 0);
    xdotool(QStringLiteral("key ctrl+shift+8 ctrl+shift+7"));
    expectPresses(2);
}

// The recorder's key code comes from the key's own symbol at its first level: not from the character Shift makes
// of it, and from the active group of the layout.
TEST_F(X11HotkeyServiceTest, KeyCodeOfAPressedKeyIsItsUnshiftedSymbols)
{
    const auto xmodmap = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral("xmodmap"), arguments);
        EXPECT_TRUE(process.waitForFinished(10000));
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    // "keycode  16 = 7 ampersand 7 ampersand": the X key codes of this server's keymap.
    QHash<QString, quint32> keycodes;
    for (const QString& line : xmodmap({QStringLiteral("-pke")}).split(u'\n')) {
        const QStringList words = line.simplified().split(u' ');
        if (words.size() >= 4 && words[0] == QLatin1String("keycode") && !keycodes.contains(words[3]))
            keycodes.insert(words[3], words[1].toUInt());
    }
    for (const char* keysym : {"7", "k", "z", "KP_End"})
        ASSERT_TRUE(keycodes.contains(QString::fromLatin1(keysym))) << keysym;
    const quint32 zKey = keycodes[QStringLiteral("z")];
    constexpr quint32 Shift = 0x1, Lock = 0x2, SecondGroup = 0x2000;

    struct Row {
        const char* name;
        quint32 keycode;
        quint32 state;
        std::optional<quint32> keyCode;
    };
    const Row usRows[] = {
        {"Shift+7 is the 7 key", keycodes[QStringLiteral("7")], Shift, Seven},
        {"k", keycodes[QStringLiteral("k")], 0, 40},
        {"Z with CapsLock", zKey, Shift | Lock, 6},
        {"keypad 1 has no key code", keycodes[QStringLiteral("KP_End")], XNumLock, std::nullopt},
        {"no such key", 3, 0, std::nullopt},
    };
    for (const Row& row : usRows)
        EXPECT_EQ(m_service.keyCodeOfKey(row.keycode, row.state), row.keyCode) << row.name;

    // The key at z's place types y in the first group and z in the second, as on a German layout.
    xmodmap({QStringLiteral("-e"), QStringLiteral("keycode %1 = y Y z Z").arg(zKey)});
    const Row groupRows[] = {
        {"first group", zKey, 0, 16},
        {"second group", zKey, SecondGroup, 6},
        {"second group, shifted", zKey, SecondGroup | Shift, 6},
    };
    for (const Row& row : groupRows)
        EXPECT_EQ(m_service.keyCodeOfKey(row.keycode, row.state), row.keyCode) << row.name;
    xmodmap({QStringLiteral("-e"), QStringLiteral("keycode %1 = z Z").arg(zKey)});
}
