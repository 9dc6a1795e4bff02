#pragma once

#include "core/api/HTTPAPIServerDelegate.h"
#include "widgets/shell/AppCommands.h"

class HistorySidebarController;
class OverlayPresenter;
class QWidget;

// What the HTTP server reaches the application through: the application's commands, the capture overlays for
// their screenshot and the program's windows for the window list. Main thread only, as the server calls it.
class AppAPIDelegate : public HTTPAPIServerDelegate {
public:
    // The overlays and the editor outlive this delegate; the editor is told apart in the window list.
    AppAPIDelegate(AppCommands commands, OverlayPresenter& overlays, const QWidget* textEditor);

    // The history sidebar, once the application has made one; it outlives this delegate's use of it.
    void setHistorySidebar(HistorySidebarController* sidebar) { m_sidebar = sidebar; }

    void requestCapture() override;
    bool isSidebarVisible() override;
    void showHistorySidebar() override;
    void hideHistorySidebar() override;
    std::optional<QByteArray> sidebarScreenshotPNG() override;
    nlohmann::json appWindowList() override;
    std::optional<QByteArray> appWindowsScreenshotPNG() override;
    std::optional<QByteArray> overlayScreenshotPNG() override;
    void openPreferences(const std::optional<QString>& tab) override;
    void openAboutWindow() override;
    void openOnboardingWindow() override;
    void quitApplication() override;

private:
    AppCommands m_commands;
    OverlayPresenter& m_overlays;
    const QWidget* m_textEditor;
    HistorySidebarController* m_sidebar = nullptr;
};
