#pragma once

#include <QString>

#include <functional>
#include <optional>

// The application controller's commands, as the tray menu and the HTTP API call them. Each holds its target
// weakly and does nothing once that is gone.
struct AppCommands {
    std::function<void()> captureText;
    std::function<void()> toggleHistory;
    std::function<void()> showPreferences;
    // Opens the preferences on the named tab (PreferencesTabs::fromName()), or on the last one without a name.
    std::function<void(const std::optional<QString>& tab)> openPreferences;
    std::function<void()> showAbout;
    std::function<void()> showOnboarding;
    // kind is a LegalInfoWindowController::Kind.
    std::function<void(int kind)> showLegalInfo;
    std::function<void()> quit;
};
