#pragma once

#include <QString>

// The desktop clipboard (on X11 the CLIPBOARD selection).
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Replaces the whole clipboard content with one plain-text item.
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};
