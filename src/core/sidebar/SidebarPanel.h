#pragma once

#include <QByteArray>
#include <QRectF>

#include <optional>

// The history panel as its controller moves it: HistorySidebarWindow on the desktop, a recording fake in tests.
// Frames are in Qt's global coordinates.
class SidebarPanel {
public:
    virtual ~SidebarPanel() = default;

    // Shows the panel at from without taking the keyboard from the application in use, and slides it to to with
    // ease-out timing. A slide-out still running stops where it is and the panel slides back from there: the
    // later request wins.
    virtual void slideIn(const QRectF& from, const QRectF& to, int durationMs) = 0;
    // Slides the panel to to with ease-in timing and then takes it off the screen, unless a slide-in comes first.
    virtual void slideOut(const QRectF& to, int durationMs) = 0;
    // The panel's content as PNG, or nullopt when it cannot be rendered.
    virtual std::optional<QByteArray> renderPNG() = 0;
};
