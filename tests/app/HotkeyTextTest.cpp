#include "app/HotkeyText.h"

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
    {"all four modifiers on a", 0, Ctrl | Opt | Shift | Cmd, "a", "⌃⌥⇧⌘A", "Meta+Ctrl+Alt+Shift+A"},
    {"space is not a character key", 49, Cmd, "", "⌘", "Ctrl+Space"},
    {"unknown code beyond the table", 200, Cmd | Shift, "", "⇧⌘", "Ctrl+Shift"},
    {"bits outside the four modifiers are ignored", 8, Cmd | 1 | 0x10000, "c", "⌘C", "Ctrl+C"},
    {"function key 5", 96, Shift, "", "⇧", "Shift+F5"},
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

TEST(HotkeyText, CharacterTableHasTheANSIKeysAtTheirCodes)
{
    // Each character of the ANSI main block at its virtual key code; "_" marks the codes without one.
    const QString expected = QStringLiteral("asdfhgzxcv_bqweryt123465=97-80]ou[ip_lj'k;\\,/nm.__`");
    QString actual;
    for (quint32 code = 0; code <= 50; ++code) {
        const QString text = HotkeyText::keyEquivalentString(code);
        ASSERT_LE(text.size(), 1) << code;
        actual += text.isEmpty() ? QStringLiteral("_") : text;
    }
    EXPECT_EQ(actual, expected);
    for (quint32 code : {51u, 64u, 126u, 127u, 0xFFFFFFFFu})
        EXPECT_TRUE(HotkeyText::keyEquivalentString(code).isEmpty()) << code;
}
