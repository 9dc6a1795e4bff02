#pragma once

#include <QString>

// The desktop clipboard (on X11 the CLIPBOARD selection).
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Replaces the whole clipboard content with one plain-text item.
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
    // Puts plain text into the selection that a middle click pastes (X11's PRIMARY selection).
    virtual void setSelectionText(const QString& text) = 0;
};
