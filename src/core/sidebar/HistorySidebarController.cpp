#include "core/sidebar/HistorySidebarController.h"

#include "core/sidebar/SidebarPanel.h"
#include "core/support/Log.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

HistorySidebarController::HistorySidebarController(PointerMonitor* pointer, Clock& clock, PanelFactory makePanel,
                                                   MainScreen mainScreen)
    : m_pointer(pointer)
    , m_clock(clock)
    , m_makePanel(std::move(makePanel))
    , m_mainScreen(std::move(mainScreen))
    , m_hideTimer(clock.makeTimer([this] { hideTimerFired(); }))
    , m_captureTimer(clock.makeTimer([this] {
        if (onCaptureRequested)
            onCaptureRequested();
    }))
{
    if (m_pointer && m_pointer->start([this](const PointerMonitor::Motion& motion) { handleMotion(motion); }))
        qCDebug(lcHistory).noquote() << QStringLiteral("✅ History sidebar edge tracking initialized");
    else
        qCWarning(lcHistory).noquote() << QStringLiteral(
            "⚠️ History sidebar edge tracking unavailable: the desktop does not report pointer motion; the tray "
            "menu and the API still show the sidebar");
}

HistorySidebarController::~HistorySidebarController()
{
    if (m_pointer)
        m_pointer->stop();
}

std::optional<HistorySidebarController::Screen> HistorySidebarController::mainScreen() const
{
    if (m_mainScreen)
        return m_mainScreen();
    // Looked up every time: the primary monitor may have changed or been resized since the last event.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return Screen{QRectF(screen->geometry()), QRectF(screen->availableGeometry())};
}

void HistorySidebarController::handleMotion(const PointerMonitor::Motion& motion)
{
    const std::optional<Screen> screen = mainScreen();
    if (!screen)
        return;
    const QRectF& primary = screen->geometry;
    const QPointF& p = motion.position;
    // Only on the primary monitor: with another monitor to its right the pointer crosses this edge instead of
    // being held by it, and counting there would toggle the panel whenever the user moves across.
    const bool onPrimary =
        p.x() >= primary.left() && p.x() < primary.right() && p.y() >= primary.top() && p.y() < primary.bottom();
    const bool atEdge = onPrimary && p.x() >= primary.right() - EdgeZone;

    if (!motion.dragging) {
        if (atEdge) {
            m_accumulatedPush = std::max<qreal>(0, m_accumulatedPush + motion.deltaX);
            if (m_accumulatedPush >= PushThreshold) {
                m_accumulatedPush = 0;
                const qint64 now = m_clock.nowMs();
                if (m_lastToggleMs && now - *m_lastToggleMs <= ToggleDebounceMs)
                    return;
                m_lastToggleMs = now;
                toggleSidebar();
            }
            return;
        }
        m_accumulatedPush = 0;
        if (!m_visible)
            return;
    } else if (!m_visible || atEdge) {
        return;
    }

    if (!m_panel)
        return;
    if (m_shownFrame.adjusted(-KeepOpenMargin, 0, KeepOpenMargin, 0).contains(p))
        m_hideDeadlineMs.reset();
    else
        pushHideDeadline();
}

// Restarting a real timer on every movement would register a new one with the event loop each time. Instead the
// deadline moves and one timer runs; when it fires early it is started again for the rest.
void HistorySidebarController::pushHideDeadline()
{
    m_hideDeadlineMs = m_clock.nowMs() + HideDelayMs;
    if (!m_hideTimer->isActive())
        m_hideTimer->start(HideDelayMs);
}

void HistorySidebarController::hideTimerFired()
{
    if (!m_hideDeadlineMs)
        return;
    const qint64 left = *m_hideDeadlineMs - m_clock.nowMs();
    if (left > 0) {
        m_hideTimer->start(left);
        return;
    }
    m_hideDeadlineMs.reset();
    hideSidebar();
}

void HistorySidebarController::showSidebar()
{
    m_hideDeadlineMs.reset();
    if (!m_panel)
        m_panel = m_makePanel(*this);
    if (m_visible || !m_panel)
        return;
    const std::optional<Screen> screen = mainScreen();
    if (!screen)
        return;
    // The full height of the area that docks leave free, against its right edge; the monitor's current
    // geometry, whatever it was when the panel was made.
    const QRectF& area = screen->available;
    m_shownFrame = QRectF(area.right() - SidebarWidth, area.top(), SidebarWidth, area.height());
    m_visible = true;
    m_panel->slideIn(m_shownFrame.translated(SidebarWidth, 0), m_shownFrame, SlideMs);
}

void HistorySidebarController::hideSidebar()
{
    if (!m_visible)
        return;
    m_visible = false;
    m_hideDeadlineMs.reset();
    if (m_panel)
        m_panel->slideOut(m_shownFrame.translated(SidebarWidth, 0), SlideMs);
}

void HistorySidebarController::toggleSidebar()
{
    if (m_visible)
        hideSidebar();
    else
        showSidebar();
}

std::optional<QByteArray> HistorySidebarController::captureSidebarImage()
{
    if (!m_panel || !m_visible)
        return std::nullopt;
    return m_panel->renderPNG();
}

void HistorySidebarController::sidebarDidRequestCapture()
{
    hideSidebar();
    m_captureTimer->start(CaptureDelayMs);
}

void HistorySidebarController::sidebarDidRequestClose()
{
    hideSidebar();
}
