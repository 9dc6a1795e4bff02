#pragma once

#include "core/capture/OverlayPresenter.h"

#include <QList>
#include <QTimer>

#include <chrono>

#include <memory>
#include <vector>

class AppSettings;
class QObject;
class ScreenshotWindow;

// Covers every captured monitor with a ScreenshotWindow showing its frozen image while the user selects, and
// holds the keyboard for the overlay so that Escape works whichever application had the focus.
class OverlayManager : public OverlayPresenter {
public:
    // windowsPlaceThemselves: whether the window system shows a window exactly where it is put (X11); where the
    // compositor places windows (Wayland), each overlay asks for full screen on its own monitor instead.
    explicit OverlayManager(const AppSettings& settings, bool windowsPlaceThemselves = true);
    ~OverlayManager() override;
    OverlayManager(const OverlayManager&) = delete;
    OverlayManager& operator=(const OverlayManager&) = delete;

    // The window on the monitor under the pointer comes first and gets the keyboard.
    void showOverlay(const CapturedImages& images, bool showHint) override;
    void hideOverlay() override;
    QList<SelectionView*> overlayViews() const override;

    QList<ScreenshotWindow*> windows() const;

    // How long the last capture's windows are kept for the next one; a minute by default, as long as the
    // recogniser keeps its spare engines. Two 4K monitors' windows hold 66 MB.
    void setSpareWindowsIdleTime(std::chrono::milliseconds idle);

private:
    // Windows are hidden and deleted from the event loop rather than at once: hiding usually happens inside
    // one of their own views' mouse or key handlers.
    struct DeleteLater {
        void operator()(QObject* object) const;
    };

    using WindowPointer = std::unique_ptr<ScreenshotWindow, DeleteLater>;

    WindowPointer windowFor(const QRect& geometry);

    const AppSettings& m_settings;
    const bool m_windowsPlaceThemselves;
    std::vector<WindowPointer> m_windows;
    // The last capture's windows, hidden, for the next capture on the same monitors: a window drawn once keeps its
    // native window and its backing store, whose first painting otherwise costs more than the rest of showing
    // the overlay (the fresh shared memory of a 1080p monitor is 8 MB of page faults).
    std::vector<WindowPointer> m_spare;
    QTimer m_spareExpiry;
};
