#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

// A system-wide key combination. Key codes and modifier masks use the program's own convention
// (key code 26 is the 7 key; command 256, shift 512, option 2048, control 4096).
class HotkeyService {
public:
    virtual ~HotkeyService() = default;

    // The status of grab() when another client holds the combination.
    static constexpr int HeldByAnotherClient = 10;

    // Takes the combination system-wide. Returns 0 on success, or a non-zero status when the window system
    // refused it (for example because another client holds it).
    virtual int grab(quint32 keyCode, quint32 modifiers) = 0;
    // Releases the grabbed combination, if any.
    virtual void release() = 0;
    // Called on the main thread for every press of the grabbed combination; an empty function delivers nothing.
    virtual void setPressHandler(std::function<void()> handler) = 0;
    // The key code of a key as the window system reported it in a key event (its scan code and modifier state),
    // read at the key's unshifted level so that Shift+7 is still the 7 key; nothing for a key without a code.
    virtual std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const = 0;
};
