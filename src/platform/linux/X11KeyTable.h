#pragma once

#include <QList>
#include <QtGlobal>

#include <optional>

// Translates the program's key codes and modifier masks (ANSI virtual key codes, key code 26 is the 7 key;
// command 256, shift 512, option 2048, control 4096) to X keysyms and X modifier masks, and back. On Linux the
// command modifier is the Ctrl key, control is Super (Mod4), option is Alt (Mod1) and shift is Shift, so
// command-shift-7 is Ctrl+Shift+7.
class X11KeyTable {
public:
    // The X keysym of a key: the 47 character keys (their unshifted character), return, tab, space, delete
    // (backspace), forward delete, escape, the arrows, home, end, page up and down, F1 to F12, and the left
    // modifier keys (55 command, 56 shift, 58 option, 59 control).
    static std::optional<quint32> keysym(quint32 keyCode);
    // The key code of a keysym from the table; a letter's upper-case keysym gives the same key as its lower case.
    static std::optional<quint32> keyCode(quint32 keysym);
    // Every key code in the table, in ascending order.
    static QList<quint32> keyCodes();

    // The X modifier mask (ShiftMask, ControlMask, Mod1Mask, Mod4Mask) of a modifier mask; other bits are ignored.
    static quint16 xModifiers(quint32 modifiers);
    // The modifier mask of an X event state; lock and other modifiers are ignored.
    static quint32 modifiersFromX(quint16 state);
    // The key codes of the modifier keys that make up a modifier mask, in pressing order (command, shift, option,
    // control).
    static QList<quint32> modifierKeyCodes(quint32 modifiers);
};
