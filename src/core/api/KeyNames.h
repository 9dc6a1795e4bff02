#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The key and modifier names of the HTTP API's keyboard and click routes, in the program's key codes and modifier
// masks (HotkeyService.h). Names are matched in any letter case.
class KeyNames {
public:
    // One of the 75 key names: "a" to "z", "0" to "9", "return" and "enter" (the main Return key), "tab", "space",
    // "delete" and "backspace" (both BackSpace), "escape", "esc", the arrows, "home", "end", "pageup", "pagedown",
    // "f1" to "f12", and the punctuation keys "-", "=", "[", "]", ";", "'", ",", ".", "/", "\", "`".
    static std::optional<quint32> keyCode(const QString& name);
    // "shift"; "command", "cmd", "control", "ctrl" (all the Ctrl key, so that cmd+c copies here too); "option",
    // "alt"; "super", "meta", "win".
    static std::optional<quint32> modifierMask(const QString& name);
    // The key code of the key that makes up a single modifier mask.
    static quint32 modifierKeyCode(quint32 mask);
};
