#pragma once

#include "core/api/HTTPAPIServerDelegate.h"

#include <QObject>
#include <QStringList>

// The application's side of the server for tests (a QObject, so the server notices when it is gone): records what
// it was asked to open, and gives the sidebar flag, window list and screenshots a test prepared.
class RecordingAPIDelegate : public QObject, public HTTPAPIServerDelegate {
public:
    void requestCapture() override { calls << QStringLiteral("requestCapture"); }
    bool isSidebarVisible() override { return sidebarVisible; }
    void showHistorySidebar() override { sidebarVisible = true; }
    void hideHistorySidebar() override { sidebarVisible = false; }
    void quitApplication() override { calls << QStringLiteral("quitApplication"); }

    std::optional<QByteArray> sidebarScreenshotPNG() override { return sidebarPNG; }
    nlohmann::json appWindowList() override { return windows; }
    std::optional<QByteArray> appWindowsScreenshotPNG() override { return windowsPNG; }
    std::optional<QByteArray> overlayScreenshotPNG() override { return overlayPNG; }
    void openPreferences(const std::optional<QString>& tab) override
    {
        calls << QStringLiteral("openPreferences ") + tab.value_or(QStringLiteral("(no tab)"));
    }
    void openAboutWindow() override { calls << QStringLiteral("openAboutWindow"); }
    void openOnboardingWindow() override { calls << QStringLiteral("openOnboardingWindow"); }

    QStringList calls;
    bool sidebarVisible = false;
    nlohmann::json windows = nlohmann::json::array();
    std::optional<QByteArray> sidebarPNG;
    std::optional<QByteArray> windowsPNG;
    std::optional<QByteArray> overlayPNG;
};
