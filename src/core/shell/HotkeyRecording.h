#pragma once

#include <QtCore/qnamespace.h>
#include <QtGlobal>

#include <optional>

// What one key press means while the hotkey recorder listens. A hotkey needs Ctrl or Super (the command and control
// bits of the program's modifier mask), so that it cannot swallow a key the person types; Escape stops listening.
class HotkeyRecording {
public:
    enum class Outcome {
        Record,     // keyCode and modifiers make the new hotkey
        Cancel,     // Escape: stop listening, keep the old hotkey
        NeedsCtrl,  // neither Ctrl nor Super held: refused with a beep, keep listening
        UnknownKey, // a key that has no key code (a key outside the key table): refused, keep listening
        Ignore,     // a modifier key on its own
    };
    struct Result {
        Outcome outcome;
        quint32 keyCode = 0;
        quint32 modifiers = 0;

        bool operator==(const Result&) const = default;
    };

    // qtKey and modifiers as Qt reported the press; keyCode is the pressed key's key code, read from the key itself
    // rather than from the character it typed (HotkeyService::keyCodeOfKey()).
    static Result interpret(int qtKey, Qt::KeyboardModifiers modifiers, std::optional<quint32> keyCode);
    // The modifier mask of Qt's modifiers: Ctrl is command, Super (Qt's Meta) control, Alt option.
    static quint32 modifierMask(Qt::KeyboardModifiers modifiers);
};
