#include "platform/linux/X11KeyTable.h"
#include "core/shell/HotkeyText.h"

#include <gtest/gtest.h>

#include <map>

TEST(X11KeyTable, KeysymsOfTheKeys)
{
    // The keys without a character, by key code, with their X keysyms as the protocol defines them.
    // clang-format off
    std::map<quint32, quint32> expected = {
        {36, 0xff0d /* return */}, {48, 0xff09 /* tab */}, {49, 0x20 /* space */}, {51, 0xff08 /* delete */},
        {117, 0xffff /* forward delete */}, {53, 0xff1b /* escape */}, {123, 0xff51 /* left */},
        {124, 0xff53 /* right */}, {125, 0xff54 /* down */}, {126, 0xff52 /* up */}, {115, 0xff50 /* home */},
        {119, 0xff57 /* end */}, {116, 0xff55 /* page up */}, {121, 0xff56 /* page down */},
    };
    // clang-format on
    // F1 to F12; their keysyms follow each other.
    const quint32 functionKeys[] = {122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111};
    for (quint32 i = 0; i < 12; ++i)
        expected[functionKeys[i]] = 0xffbe + i;
    // A character key gives the keysym of its unshifted character.
    for (quint32 code = 0; code < 256; ++code) {
        if (const QString character = HotkeyText::keyEquivalentString(code); !character.isEmpty())
            expected[code] = character.at(0).unicode();
        EXPECT_EQ(HotkeyText::qtKey(code).has_value(), expected.count(code) == 1) << "the hotkey texts name " << code;
    }
    // The left modifier keys: command is Ctrl, shift, option is Alt, control is Super.
    expected.insert({{55, 0xffe3}, {56, 0xffe1}, {58, 0xffe9}, {59, 0xffeb}});

    EXPECT_EQ(X11KeyTable::keyCodes().size(), qsizetype(expected.size())) << "no other key has a keysym";
    for (const auto& [code, keysym] : expected) {
        EXPECT_EQ(X11KeyTable::keysym(code), keysym) << code;
        EXPECT_EQ(X11KeyTable::keyCode(keysym), code) << code;
    }
    EXPECT_FALSE(X11KeyTable::keysym(1000).has_value());
    EXPECT_EQ(X11KeyTable::keyCode(0x41), 0u) << "upper-case A is the a key";
    EXPECT_FALSE(X11KeyTable::keyCode(0x40).has_value()) << "@ is a shifted character";
}

TEST(X11KeyTable, ModifierMasks)
{
    // Command is Ctrl (X mask 4), shift Shift (1), option Alt (Mod1, 8), control Super (Mod4, 64). Caps lock (1024)
    // and the other bits are not modifiers of a combination, nor are CapsLock (Lock), NumLock (Mod2) and ScrollLock
    // (Mod5) in an event's state.
    const quint32 all = 256 | 512 | 2048 | 4096;
    EXPECT_EQ(X11KeyTable::xModifiers(all | 1024 | 1 | 0x20000), 0x4d);
    EXPECT_EQ(X11KeyTable::modifierKeyCodes(all | 1024 | 1 | 0x20000), QList<quint32>({55, 56, 58, 59}));
    EXPECT_EQ(X11KeyTable::modifiersFromX(0x4d | 0x2 | 0x10 | 0x80), all);
}
