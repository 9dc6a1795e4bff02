#include "widgets/capture/OverlayManager.h"

#include "core/support/Log.h"
#include "widgets/capture/ScreenshotOverlayView.h"
#include "widgets/capture/ScreenshotWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>

void OverlayManager::DeleteLater::operator()(QObject* object) const
{
    object->deleteLater();
}

OverlayManager::OverlayManager(const AppSettings& settings, bool windowsPlaceThemselves)
    : m_settings(settings)
    , m_windowsPlaceThemselves(windowsPlaceThemselves)
{
    m_spareExpiry.setSingleShot(true);
    m_spareExpiry.setInterval(std::chrono::minutes(1));
    QObject::connect(&m_spareExpiry, &QTimer::timeout, &m_spareExpiry, [this] { m_spare.clear(); });
}

void OverlayManager::setSpareWindowsIdleTime(std::chrono::milliseconds idle)
{
    m_spareExpiry.setInterval(idle);
}

OverlayManager::~OverlayManager()
{
    hideOverlay();
}

namespace {

QScreen* screenOf(const QRect& geometry)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry() == geometry)
            return screen;
    return QGuiApplication::screenAt(geometry.center());
}

} // namespace

void OverlayManager::showOverlay(const CapturedImages& images, bool showHint)
{
    CapturedImages ordered = images;
    const QPoint pointer = QCursor::pos();
    std::stable_partition(ordered.begin(), ordered.end(),
                          [&](const CapturedDisplay& captured) { return captured.display.geometry.contains(pointer); });

    for (const CapturedDisplay& captured : ordered) {
        WindowPointer window = windowFor(captured.display.geometry);
        if (!window)
            window.reset(new ScreenshotWindow(captured.display));
        window->setContentView(new ScreenshotOverlayView(m_settings, captured, showHint));
        if (m_windowsPlaceThemselves) {
            window->show();
            window->raise();
        }
        m_windows.push_back(std::move(window));
    }

    // Monitors that are gone or changed keep no window.
    m_spare.clear();
    m_spareExpiry.stop();

    if (m_windows.empty())
        return;
    ScreenshotOverlayView* first = m_windows.front()->contentView();
    first->setFocus(Qt::OtherFocusReason);
    if (!m_windowsPlaceThemselves) {
        // The compositor puts a full-screen window above panels and docks on the monitor it names, and gives the
        // keyboard to the window mapped last and then to the one the pointer enters: the first window, on the
        // pointer's monitor where Qt knows it, is mapped last.
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
            ScreenshotWindow* window = it->get();
            // Before the native window exists: moving a created window to another screen makes it anew.
            if (QScreen* screen = screenOf(window->geometry()))
                window->setScreen(screen);
            window->showFullScreen();
        }
        m_windows.front()->activateWindow();
        return;
    }
    // The overlay windows bypass the window manager, so it never gives them the focus; an active keyboard grab
    // sends every key to the first view instead, and leaves the focus where it was for after the capture.
    QWindow* handle = m_windows.front()->windowHandle();
    if (handle && handle->setKeyboardGrabEnabled(true)) {
        first->grabKeyboard();
    } else {
        qCWarning(lcOverlay).noquote() << QStringLiteral("⚠️ Could not grab the keyboard for the capture overlay");
        first->activateWindow();
    }
}

void OverlayManager::hideOverlay()
{
    if (QWidget* grabber = QWidget::keyboardGrabber()) {
        for (const auto& window : m_windows)
            if (grabber == window->contentView() || grabber == window.get())
                grabber->releaseKeyboard();
    }
    for (WindowPointer& window : m_windows) {
        window->hide();
        // The view goes with its frozen image; the window waits for the next capture.
        window->setContentView(nullptr);
        m_spare.push_back(std::move(window));
    }
    m_windows.clear();
    if (!m_spare.empty())
        m_spareExpiry.start();
}

OverlayManager::WindowPointer OverlayManager::windowFor(const QRect& geometry)
{
    const auto spare = std::find_if(m_spare.begin(), m_spare.end(),
                                    [&](const WindowPointer& window) { return window->geometry() == geometry; });
    if (spare == m_spare.end())
        return nullptr;
    WindowPointer window = std::move(*spare);
    m_spare.erase(spare);
    return window;
}

QList<SelectionView*> OverlayManager::overlayViews() const
{
    QList<SelectionView*> views;
    for (const auto& window : m_windows)
        views.append(window->contentView());
    return views;
}

QList<ScreenshotWindow*> OverlayManager::windows() const
{
    QList<ScreenshotWindow*> result;
    for (const auto& window : m_windows)
        result.append(window.get());
    return result;
}
