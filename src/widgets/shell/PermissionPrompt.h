#pragma once

// What the application controller asks of the person when the screen cannot be captured. The real one shows a
// modal message box; tests answer with a fake.
class PermissionPrompt {
public:
    enum class Style {
        Warning,  // at a capture request: Open Help / Cancel
        Critical, // at start-up, where the program then quits: Open Help / Quit
    };

    virtual ~PermissionPrompt() = default;

    // Shows the alert modally; true when the person chose the first button (to open the help).
    virtual bool ask(Style style) = 0;
    // Opens the page that explains how to allow the capture.
    virtual void openSettings() = 0;
};
