#pragma once

#include "api/HTTPAPIServerDelegate.h"

#include <QObject>
#include <QStringList>

#include <chrono>

// The application's side of the server for tests: records every call (on the main thread, where the server
// makes them) and keeps a sidebar flag that show, hide and the state query use.
class RecordingAPIDelegate : public QObject, public HTTPAPIServerDelegate {
    Q_OBJECT

public:
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

    QStringList calls;
    bool sidebarVisible = false;
    // isSidebarVisible holds the main thread this long, as a busy interface would.
    std::chrono::milliseconds blockMainThread{0};
};
