#pragma once

#include "core/platform/PointerMonitor.h"
#include "core/sidebar/HistorySidebarWindowDelegate.h"
#include "core/support/Clock.h"

#include <QByteArray>
#include <QRectF>

#include <functional>
#include <memory>
#include <optional>

class SidebarPanel;

// Decides when the history panel is on the screen. A user who keeps pushing the pointer against the right edge of
// the primary monitor brings it in, pushing again takes it out, and it leaves by itself two seconds after the
// pointer has left it; the tray menu and the HTTP API show, hide and toggle it directly. The panel is made on the
// first show and kept. Main thread only.
class HistorySidebarController : public HistorySidebarWindowDelegate {
public:
    // The primary monitor: its whole rectangle (where its right edge is) and the part not taken by docks and
    // panels (where the panel goes).
    struct Screen {
        QRectF geometry;
        QRectF available;
    };
    using MainScreen = std::function<std::optional<Screen>()>;
    using PanelFactory = std::function<std::unique_ptr<SidebarPanel>(HistorySidebarWindowDelegate& delegate)>;

    static constexpr qreal SidebarWidth = 300;
    // The last points of the primary monitor that count as its right edge.
    static constexpr qreal EdgeZone = 5;
    // Rightward device movement at the edge that shows or hides the panel.
    static constexpr qreal PushThreshold = 100;
    static constexpr qint64 ToggleDebounceMs = 500;
    // How far left and right of the panel the pointer may stray without the panel leaving.
    static constexpr qreal KeepOpenMargin = 20;
    static constexpr qint64 HideDelayMs = 2000;
    static constexpr int SlideMs = 200;
    // The panel leaves the screen before the capture freezes it.
    static constexpr qint64 CaptureDelayMs = 250;

    // Watches the pointer through pointer (when given; it must outlive the controller). An empty mainScreen asks
    // Qt for the primary screen.
    HistorySidebarController(PointerMonitor* pointer, Clock& clock, PanelFactory makePanel, MainScreen mainScreen = {});
    ~HistorySidebarController() override;

    HistorySidebarController(const HistorySidebarController&) = delete;
    HistorySidebarController& operator=(const HistorySidebarController&) = delete;

    void showSidebar();
    void hideSidebar();
    void toggleSidebar();
    // The state asked for last: it changes when a slide starts, not when it ends.
    bool isVisible() const { return m_visible; }
    // The panel's content as PNG while it is shown; nullopt while hidden (also during the slide-out).
    std::optional<QByteArray> captureSidebarImage();
    SidebarPanel* panel() const { return m_panel.get(); }

    // Called 0.25 s after the panel's capture button, once the panel has gone.
    std::function<void()> onCaptureRequested;

    void sidebarDidRequestCapture() override;
    void sidebarDidRequestClose() override;

    // One pointer report. Runs for every movement anywhere on the desktop, so it does constant work: no
    // allocation, no drawing, no system call (the hide timer is re-armed lazily, see hideTimerFired()).
    void handleMotion(const PointerMonitor::Motion& motion);

private:
    std::optional<Screen> mainScreen() const;
    void pushHideDeadline();
    void hideTimerFired();

    PointerMonitor* m_pointer;
    Clock& m_clock;
    PanelFactory m_makePanel;
    MainScreen m_mainScreen;
    std::unique_ptr<SidebarPanel> m_panel;
    std::unique_ptr<Clock::Timer> m_hideTimer;
    std::unique_ptr<Clock::Timer> m_captureTimer;

    bool m_visible = false;
    // Where the panel rests while shown; the keep-open zone is measured from it.
    QRectF m_shownFrame;
    qreal m_accumulatedPush = 0;
    std::optional<qint64> m_lastToggleMs;
    // When the panel leaves unless the pointer comes back first; none while no hide is pending.
    std::optional<qint64> m_hideDeadlineMs;
};
