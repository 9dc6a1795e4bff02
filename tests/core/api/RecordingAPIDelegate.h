#pragma once

#include "core/api/HTTPAPIServerDelegate.h"

#include <QObject>
#include <QStringList>

// The application's side of the server for tests (a QObject, so the server notices when it is gone): records the
// capture and quit requests, and keeps the sidebar flag the sidebar routes use.
class RecordingAPIDelegate : public QObject, public HTTPAPIServerDelegate {
public:
    void requestCapture() override { calls << QStringLiteral("requestCapture"); }
    bool isSidebarVisible() override { return sidebarVisible; }
    void showHistorySidebar() override { sidebarVisible = true; }
    void hideHistorySidebar() override { sidebarVisible = false; }
    void quitApplication() override { calls << QStringLiteral("quitApplication"); }

    // The window, screenshot and window-opening routes are not served yet.
    std::optional<QByteArray> sidebarScreenshotPNG() override { return std::nullopt; }
    nlohmann::json appWindowList() override { return nlohmann::json::array(); }
    std::optional<QByteArray> appWindowsScreenshotPNG() override { return std::nullopt; }
    std::optional<QByteArray> overlayScreenshotPNG() override { return std::nullopt; }
    void openPreferences(const std::optional<QString>&) override {}
    void openAboutWindow() override {}
    void openOnboardingWindow() override {}

    QStringList calls;
    bool sidebarVisible = false;
};
