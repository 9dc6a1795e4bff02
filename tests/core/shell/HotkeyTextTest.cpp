#include "core/shell/HotkeyText.h"

#include <gtest/gtest.h>

namespace {

struct TextRow {
    const char* name;
    quint32 keyCode;
    quint32 modifiers;
    const char* keyEquivalent;
    const char* display;
    const char* desktop;
};

constexpr quint32 Cmd = HotkeyText::CommandMask;
constexpr quint32 Shift = HotkeyText::ShiftMask;
constexpr quint32 Opt = HotkeyText::OptionMask;
constexpr quint32 Ctrl = HotkeyText::ControlMask;

const TextRow textRows[] = {
    {"default command-shift-7", 26, Cmd | Shift, "7", "⇧⌘7", "Ctrl+Shift+7"},
    {"all four modifiers on a", 0, Ctrl | Opt | Shift | Cmd, "a", "⌃⌥⇧⌘A", "Super+Ctrl+Alt+Shift+A"},
    {"space is not a character key", 49, Cmd, "", "⌘", "Ctrl+Space"},
    {"function key 5", 96, Shift, "", "⇧", "Shift+F5"},
    {"Super, not Qt's Meta", 96, Ctrl | Opt, "", "⌃⌥", "Super+Alt+F5"},
};

} // namespace

TEST(HotkeyText, TextsOfCombinations)
{
    for (const TextRow& row : textRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HotkeyText::keyEquivalentString(row.keyCode), QString::fromUtf8(row.keyEquivalent));
        EXPECT_EQ(HotkeyText::hotkeyDisplayString(row.keyCode, row.modifiers), QString::fromUtf8(row.display));
        EXPECT_EQ(HotkeyText::desktopString(row.keyCode, row.modifiers), QString::fromUtf8(row.desktop));
    }
}
