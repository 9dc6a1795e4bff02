#include "widgets/shell/AppAPIDelegate.h"

#include "core/capture/OverlayPresenter.h"
#include "core/sidebar/HistorySidebarController.h"
#include "core/support/Log.h"
#include "widgets/capture/ScreenshotOverlayView.h"
#include "widgets/shell/AppWindowList.h"

AppAPIDelegate::AppAPIDelegate(AppCommands commands, OverlayPresenter& overlays, const QWidget* textEditor)
    : m_commands(std::move(commands))
    , m_overlays(overlays)
    , m_textEditor(textEditor)
{}

void AppAPIDelegate::requestCapture()
{
    m_commands.captureText();
}

// Without a sidebar (history was off at launch) it reads as hidden, and showing or hiding it does nothing.
bool AppAPIDelegate::isSidebarVisible()
{
    return m_sidebar && m_sidebar->isVisible();
}

void AppAPIDelegate::showHistorySidebar()
{
    if (m_sidebar)
        m_sidebar->showSidebar();
}

void AppAPIDelegate::hideHistorySidebar()
{
    if (m_sidebar)
        m_sidebar->hideSidebar();
}

std::optional<QByteArray> AppAPIDelegate::sidebarScreenshotPNG()
{
    std::optional<QByteArray> png = m_sidebar ? m_sidebar->captureSidebarImage() : std::nullopt;
    if (!png) {
        qCDebug(lcApi).noquote() << QStringLiteral("📸 Sidebar screenshot: Sidebar not visible or capture failed");
        return std::nullopt;
    }
    qCDebug(lcApi).noquote() << QStringLiteral("📸 Sidebar screenshot: Success");
    return png;
}

nlohmann::json AppAPIDelegate::appWindowList()
{
    return AppWindowList::windowList(AppWindowList::topLevelWindows(), m_textEditor, AppWindowList::primaryGeometry());
}

std::optional<QByteArray> AppAPIDelegate::appWindowsScreenshotPNG()
{
    return AppWindowList::compositePNG(AppWindowList::topLevelWindows());
}

std::optional<QByteArray> AppAPIDelegate::overlayScreenshotPNG()
{
    const QList<SelectionView*> views = m_overlays.overlayViews();
    if (views.isEmpty()) {
        qCDebug(lcApi).noquote() << QStringLiteral("📸 Overlay screenshot: No overlay views visible");
        return std::nullopt;
    }
    auto* view = dynamic_cast<ScreenshotOverlayView*>(views.first());
    std::optional<QByteArray> png = view ? view->captureViewContentAsPNG(800) : std::nullopt;
    if (!png) {
        qCDebug(lcApi).noquote() << QStringLiteral("📸 Overlay screenshot: Failed to capture view");
        return std::nullopt;
    }
    qCDebug(lcApi).noquote() << QStringLiteral("📸 Overlay screenshot: Success");
    return png;
}

void AppAPIDelegate::openPreferences(const std::optional<QString>& tab)
{
    m_commands.openPreferences(tab);
}

void AppAPIDelegate::openAboutWindow()
{
    m_commands.showAbout();
}

void AppAPIDelegate::openOnboardingWindow()
{
    m_commands.showOnboarding();
}

void AppAPIDelegate::quitApplication()
{
    m_commands.quit();
}
