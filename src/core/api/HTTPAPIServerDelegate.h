#pragma once

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

#include <optional>

// What the HTTP server asks of the application. The server calls every operation on the main thread and never
// keeps the implementer alive: it holds it weakly (an implementer that is a QObject is noticed when it dies).
class HTTPAPIServerDelegate {
public:
    virtual ~HTTPAPIServerDelegate() = default;

    // Whatever the capture command does: start a capture, or explain the missing permission.
    virtual void requestCapture() = 0;
    // False when there is no history sidebar.
    virtual bool isSidebarVisible() = 0;
    virtual void showHistorySidebar() = 0;
    virtual void hideHistorySidebar() = 0;
    virtual std::optional<QByteArray> sidebarScreenshotPNG() = 0;
    // A JSON array with one object per visible window: "title", "frame", "isKey", "isMain", "level", "type".
    virtual nlohmann::json appWindowList() = 0;
    virtual std::optional<QByteArray> appWindowsScreenshotPNG() = 0;
    virtual std::optional<QByteArray> overlayScreenshotPNG() = 0;
    virtual void openPreferences(const std::optional<QString>& tab) = 0;
    virtual void openAboutWindow() = 0;
    virtual void openOnboardingWindow() = 0;
    virtual void quitApplication() = 0;
};
