#pragma once

#include <QString>

#include <memory>

class DisplayCapture;
class HotkeyService;
class PointerMonitor;
class SyntheticInput;

// The desktop services that depend on the kind of session: made once at start-up for the window system Qt runs
// on, so that nothing else in the program needs to know which one it is.
struct PlatformServices {
    std::unique_ptr<DisplayCapture> displayCapture;
    std::unique_ptr<HotkeyService> hotkeyService;
    // Empty where the session does not let a program watch the pointer outside its own windows.
    std::unique_ptr<PointerMonitor> pointerMonitor;
    std::unique_ptr<SyntheticInput> syntheticInput;
    // Whether a window is shown exactly where it is put. Where the compositor decides, the capture overlay asks
    // for full screen on its monitor instead.
    bool windowsPlaceThemselves = true;

    // The services for Qt's platform plugin: "xcb" gets the X11 ones, "wayland" the desktop portal ones. Any
    // other plugin (offscreen, a VNC server) gets the X11 ones, which find no X server and say so.
    static PlatformServices create(const QString& platformName);
    ~PlatformServices();
    PlatformServices(PlatformServices&&) noexcept;
    PlatformServices& operator=(PlatformServices&&) noexcept;

private:
    PlatformServices();
};
