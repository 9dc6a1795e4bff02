#pragma once

#include "api/HTTPAPIServerDelegate.h"

#include <QObject>
#include <QStringList>

#include <chrono>

// The application's side of the server for tests: records the calls of the routes served so far (on the main
// thread, where the server makes them) and keeps a sidebar flag that show, hide and the state query use.
class RecordingAPIDelegate : public QObject, public HTTPAPIServerDelegate {
    Q_OBJECT

public:
    void requestCapture() override { calls << QStringLiteral("requestCapture"); }
    bool isSidebarVisible() override;
    void showHistorySidebar() override;
    void hideHistorySidebar() override;
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
    // isSidebarVisible holds the main thread this long, as a busy interface would.
    std::chrono::milliseconds blockMainThread{0};
};
