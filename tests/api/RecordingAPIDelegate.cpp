#include "RecordingAPIDelegate.h"

#include <thread>

void RecordingAPIDelegate::requestCapture() {
    calls << QStringLiteral("requestCapture");
}

bool RecordingAPIDelegate::isSidebarVisible() {
    calls << QStringLiteral("isSidebarVisible");
    std::this_thread::sleep_for(blockMainThread);
    return sidebarVisible;
}

void RecordingAPIDelegate::showHistorySidebar() {
    calls << QStringLiteral("showHistorySidebar");
    sidebarVisible = true;
}

void RecordingAPIDelegate::hideHistorySidebar() {
    calls << QStringLiteral("hideHistorySidebar");
    sidebarVisible = false;
}

std::optional<QByteArray> RecordingAPIDelegate::sidebarScreenshotPNG() {
    calls << QStringLiteral("sidebarScreenshotPNG");
    return std::nullopt;
}

nlohmann::json RecordingAPIDelegate::appWindowList() {
    calls << QStringLiteral("appWindowList");
    return nlohmann::json::array();
}

std::optional<QByteArray> RecordingAPIDelegate::appWindowsScreenshotPNG() {
    calls << QStringLiteral("appWindowsScreenshotPNG");
    return std::nullopt;
}

std::optional<QByteArray> RecordingAPIDelegate::overlayScreenshotPNG() {
    calls << QStringLiteral("overlayScreenshotPNG");
    return std::nullopt;
}

void RecordingAPIDelegate::openPreferences(const std::optional<QString>& tab) {
    calls << QStringLiteral("openPreferences:") + tab.value_or(QString());
}

void RecordingAPIDelegate::openAboutWindow() {
    calls << QStringLiteral("openAboutWindow");
}

void RecordingAPIDelegate::openOnboardingWindow() {
    calls << QStringLiteral("openOnboardingWindow");
}

void RecordingAPIDelegate::quitApplication() {
    calls << QStringLiteral("quitApplication");
}
