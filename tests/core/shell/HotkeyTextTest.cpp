#include "core/shell/HotkeyText.h"

#include <gtest/gtest.h>

namespace {

constexpr quint32 Cmd = HotkeyText::CommandMask;
constexpr quint32 Shift = HotkeyText::ShiftMask;
constexpr quint32 Opt = HotkeyText::OptionMask;
constexpr quint32 Ctrl = HotkeyText::ControlMask;

// The key code and modifiers; the key's character, the menu's text, and the desktop's name of the combination.
const std::tuple<const char*, quint32, quint32, const char*, const char*, const char*> rows[] = {
    {"default command-shift-7", 26, Cmd | Shift, "7", "⇧⌘7", "Ctrl+Shift+7"},
    {"all four modifiers on a", 0, Ctrl | Opt | Shift | Cmd, "a", "⌃⌥⇧⌘A", "Super+Ctrl+Alt+Shift+A"},
    {"space is not a character key", 49, Cmd, "", "⌘", "Ctrl+Space"},
    {"function key 5", 96, Shift, "", "⇧", "Shift+F5"},
    {"Super, not Qt's Meta", 96, Ctrl | Opt, "", "⌃⌥", "Super+Alt+F5"},
};

} // namespace

TEST(HotkeyText, TextsOfCombinations)
{
    for (const auto& [name, keyCode, modifiers, keyEquivalent, display, desktop] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(HotkeyText::keyEquivalentString(keyCode), QString::fromUtf8(keyEquivalent));
        EXPECT_EQ(HotkeyText::hotkeyDisplayString(keyCode, modifiers), QString::fromUtf8(display));
        EXPECT_EQ(HotkeyText::desktopString(keyCode, modifiers), QString::fromUtf8(desktop));
    }
}
