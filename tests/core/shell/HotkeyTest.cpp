#include "core/shell/HotkeyRecording.h"
#include "core/shell/HotkeyText.h"

#include <gtest/gtest.h>

// Ctrl is the command bit (256), Super the control bit (4096), Alt option (2048), Shift 512.
TEST(HotkeyRecording, PressesRecordRefuseOrCancel)
{
    using Outcome = HotkeyRecording::Outcome;
    const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier, Shift = Qt::ShiftModifier, Alt = Qt::AltModifier,
                                Super = Qt::MetaModifier;
    // The key and modifiers Qt reports, what the key is as the hotkey service reads it, and the result.
    const std::tuple<const char*, int, Qt::KeyboardModifiers, std::optional<quint32>, HotkeyRecording::Result> rows[] =
        {
            {"Super+Alt+F5", Qt::Key_F5, Super | Alt, 96, {Outcome::Record, 96, 6144}},
            {"all four modifiers", Qt::Key_K, Ctrl | Shift | Alt | Super, 40, {Outcome::Record, 40, 6912}},
            {"shifted 7 is recorded as the 7 key", Qt::Key_Ampersand, Ctrl | Shift, 26, {Outcome::Record, 26, 768}},
            {"Shift+7 alone", Qt::Key_Ampersand, Shift, 26, {Outcome::NeedsCtrl}},
            {"Alt+Shift are not enough", Qt::Key_K, Alt | Shift, 40, {Outcome::NeedsCtrl}},
            {"Escape with modifiers", Qt::Key_Escape, Ctrl | Shift, 53, {Outcome::Cancel}},
            {"Ctrl pressed alone", Qt::Key_Control, Ctrl, 55, {Outcome::Ignore}},
            {"Super pressed while Ctrl is held", Qt::Key_Super_L, Ctrl | Super, 59, {Outcome::Ignore}},
            {"a key without a key code", Qt::Key_Odiaeresis, Ctrl, std::nullopt, {Outcome::UnknownKey}},
        };
    for (const auto& [name, qtKey, modifiers, keyCode, expected] : rows) {
        SCOPED_TRACE(name);
        const HotkeyRecording::Result result = HotkeyRecording::interpret(qtKey, modifiers, keyCode);
        EXPECT_EQ(int(result.outcome), int(expected.outcome));
        EXPECT_EQ(result.keyCode, expected.keyCode);
        EXPECT_EQ(result.modifiers, expected.modifiers);
    }
}

TEST(HotkeyText, TextsOfCombinations)
{
    constexpr quint32 Cmd = HotkeyText::CommandMask, Shift = HotkeyText::ShiftMask, Opt = HotkeyText::OptionMask,
                      Ctrl = HotkeyText::ControlMask;
    // The key code and modifiers; the key's character, the menu's text, and the desktop's name of the combination.
    const std::tuple<const char*, quint32, quint32, const char*, const char*, const char*> rows[] = {
        {"default command-shift-7", 26, Cmd | Shift, "7", "⇧⌘7", "Ctrl+Shift+7"},
        {"all four modifiers on a", 0, Ctrl | Opt | Shift | Cmd, "a", "⌃⌥⇧⌘A", "Super+Ctrl+Alt+Shift+A"},
        {"space is not a character key", 49, Cmd, "", "⌘", "Ctrl+Space"},
        {"Super, not Qt's Meta", 96, Ctrl | Opt, "", "⌃⌥", "Super+Alt+F5"},
    };
    for (const auto& [name, keyCode, modifiers, keyEquivalent, display, desktop] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(HotkeyText::keyEquivalentString(keyCode), QString::fromUtf8(keyEquivalent));
        EXPECT_EQ(HotkeyText::hotkeyDisplayString(keyCode, modifiers), QString::fromUtf8(display));
        EXPECT_EQ(HotkeyText::desktopString(keyCode, modifiers), QString::fromUtf8(desktop));
    }
}
