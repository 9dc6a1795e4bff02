#pragma once

#include <functional>

// The application controller's commands, as the tray menu and the HTTP API call them. Each holds its target
// weakly and does nothing once that is gone.
struct AppCommands {
    std::function<void()> captureText;
    std::function<void()> toggleHistory;
    std::function<void()> showPreferences;
    std::function<void()> showAbout;
    std::function<void()> showOnboarding;
    // kind is a LegalInfoWindowController::Kind.
    std::function<void(int kind)> showLegalInfo;
    std::function<void()> quit;
};
