#pragma once

#include <QtGlobal>

#include <functional>

// A system-wide key combination. Key codes and modifier masks use the program's own convention
// (key code 26 is the 7 key; command 256, shift 512, option 2048, control 4096).
class HotkeyService {
public:
    virtual ~HotkeyService() = default;

    // Takes the combination system-wide. Returns 0 on success, or a non-zero status when the window system
    // refused it (for example because another client holds it).
    virtual int grab(quint32 keyCode, quint32 modifiers) = 0;
    // Releases the grabbed combination, if any.
    virtual void release() = 0;
    // Called on the main thread for every press of the grabbed combination; an empty function delivers nothing.
    virtual void setPressHandler(std::function<void()> handler) = 0;
};
