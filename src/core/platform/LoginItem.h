#pragma once

#include <QString>

// Whether the program starts when the user logs in (on Linux: an XDG autostart entry).
class LoginItem {
public:
    virtual ~LoginItem() = default;

    virtual bool isEnabled() const = 0;
    // Registers (true) or unregisters (false). On failure returns false, sets *error and leaves things as they were.
    virtual bool setEnabled(bool enabled, QString* error) = 0;
};
