#pragma once

#include <QKeySequence>
#include <QString>
#include <QtGlobal>

#include <optional>

// The texts that show the global hotkey to a person, derived from its key code and modifier mask (key codes of the
// ANSI keyboard, key code 26 is the 7 key; command 256, shift 512, option 2048, control 4096).
class HotkeyText {
public:
    static constexpr quint32 CommandMask = 256;
    static constexpr quint32 ShiftMask = 512;
    static constexpr quint32 OptionMask = 2048;
    static constexpr quint32 ControlMask = 4096;

    // The unshifted character of one of the 47 character keys, or the empty text for any other key code.
    static QString keyEquivalentString(quint32 keyCode);
    // The modifier symbols (control, option, shift, command in that order) followed by the key's character in
    // upper case, without separators: "⇧⌘7" for key code 26 with modifiers 768.
    static QString hotkeyDisplayString(quint32 keyCode, quint32 modifiers);

    // The combination as the desktop writes it, in the language of Qt's installed translation. Command is the Ctrl
    // key on Linux, control the Super key (Qt's Meta), option Alt: key code 26 with modifiers 768 gives
    // "Ctrl+Shift+7" ("Strg+Umschalt+7" in German), control-option-F5 "Super+Alt+F5".
    static QString desktopString(quint32 keyCode, quint32 modifiers);
    // The same combination as a Qt key sequence, for shortcuts shown next to menu items; empty when the key code
    // names no key Qt knows.
    static QKeySequence keySequence(quint32 keyCode, quint32 modifiers);
    // The Qt key of a key code: the character keys and the named non-character keys (return, tab, space, delete,
    // escape, arrows, home, end, page up and down, F1 to F12, forward delete).
    static std::optional<Qt::Key> qtKey(quint32 keyCode);
    static Qt::KeyboardModifiers qtModifiers(quint32 modifiers);
};
