#include "platform/linux/X11KeyTable.h"
#include "app/HotkeyText.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct KeyRow {
    const char* name;
    quint32 keyCode;
    quint32 keysym; // the X keysym, written out as the protocol defines it
};

const KeyRow keyRows[] = {
    {"a", 0, 0x61},
    {"z, beside x on ANSI", 6, 0x7a},
    {"seven", 26, 0x37},
    {"six before five", 22, 0x36},
    {"zero", 29, 0x30},
    {"equal", 24, 0x3d},
    {"minus", 27, 0x2d},
    {"bracket right", 30, 0x5d},
    {"apostrophe", 39, 0x27},
    {"backslash", 42, 0x5c},
    {"grave", 50, 0x60},
    {"return", 36, 0xff0d},
    {"tab", 48, 0xff09},
    {"space", 49, 0x20},
    {"delete is backspace", 51, 0xff08},
    {"forward delete", 117, 0xffff},
    {"escape", 53, 0xff1b},
    {"left", 123, 0xff51},
    {"right", 124, 0xff53},
    {"down", 125, 0xff54},
    {"up", 126, 0xff52},
    {"home", 115, 0xff50},
    {"end", 119, 0xff57},
    {"page up", 116, 0xff55},
    {"page down", 121, 0xff56},
    {"F1", 122, 0xffbe},
    {"F2", 120, 0xffbf},
    {"F3", 99, 0xffc0},
    {"F4", 118, 0xffc1},
    {"F5", 96, 0xffc2},
    {"F6", 97, 0xffc3},
    {"F7", 98, 0xffc4},
    {"F8", 100, 0xffc5},
    {"F9", 101, 0xffc6},
    {"F10", 109, 0xffc7},
    {"F11", 103, 0xffc8},
    {"F12", 111, 0xffc9},
    {"command is Ctrl", 55, 0xffe3},
    {"shift", 56, 0xffe1},
    {"option is Alt", 58, 0xffe9},
    {"control is Super", 59, 0xffeb},
};

} // namespace

TEST(X11KeyTable, KeysymsOfNamedKeys)
{
    for (const KeyRow& row : keyRows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(X11KeyTable::keysym(row.keyCode).has_value());
        EXPECT_EQ(*X11KeyTable::keysym(row.keyCode), row.keysym);
        EXPECT_EQ(X11KeyTable::keyCode(row.keysym), row.keyCode);
    }
    // Gaps of the ANSI code space and codes the program does not name.
    for (quint32 code : {10u, 52u, 54u, 57u, 64u, 76u, 127u, 1000u})
        EXPECT_FALSE(X11KeyTable::keysym(code).has_value()) << code;
    EXPECT_EQ(X11KeyTable::keyCode(0x41), 0u) << "upper-case A is the a key";
    EXPECT_FALSE(X11KeyTable::keyCode(0x40).has_value()) << "@ is a shifted character";
}

TEST(X11KeyTable, AgreesWithTheHotkeyTexts)
{
    // The character keys give the keysym of their character; every key the desktop texts can name has a keysym,
    // and the table names nothing else apart from the four modifier keys.
    std::set<quint32> named;
    for (quint32 code = 0; code < 256; ++code) {
        const QString character = HotkeyText::keyEquivalentString(code);
        if (!character.isEmpty()) {
            EXPECT_EQ(X11KeyTable::keysym(code), quint32(character.at(0).unicode())) << code;
        }
        if (HotkeyText::qtKey(code))
            named.insert(code);
    }
    std::set<quint32> table;
    for (quint32 code : X11KeyTable::keyCodes())
        table.insert(code);
    for (quint32 modifierKey : {55u, 56u, 58u, 59u})
        EXPECT_EQ(table.erase(modifierKey), 1u) << modifierKey;
    EXPECT_EQ(table, named);
    EXPECT_EQ(X11KeyTable::keyCodes().size(), 77);
}

TEST(X11KeyTable, ModifierMasks)
{
    struct Row {
        const char* name;
        quint32 modifiers;
        quint16 xMask; // Shift 1, Lock 2, Control 4, Mod1 8, Mod2 16, Mod4 64
        QList<quint32> keys;
    };
    const Row rows[] = {
        {"none", 0, 0, {}},
        {"command-shift is Ctrl+Shift", 768, 0x5, {55, 56}},
        {"option is Alt", 2048, 0x8, {58}},
        {"control is Super", 4096, 0x40, {59}},
        {"all four", 256 | 512 | 2048 | 4096, 0x4d, {55, 56, 58, 59}},
        {"caps lock and other bits are not modifiers", 1024 | 1 | 0x20000, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(X11KeyTable::xModifiers(row.modifiers), row.xMask);
        EXPECT_EQ(X11KeyTable::modifierKeyCodes(row.modifiers), row.keys);
        EXPECT_EQ(X11KeyTable::modifiersFromX(row.xMask), row.modifiers & (256 | 512 | 2048 | 4096));
    }
    // NumLock (Mod2), CapsLock and ScrollLock in an event's state do not change the combination.
    EXPECT_EQ(X11KeyTable::modifiersFromX(0x5 | 0x2 | 0x10 | 0x80), 768u);
}
