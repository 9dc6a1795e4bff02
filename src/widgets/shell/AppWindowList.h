#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

#include <nlohmann/json.hpp>

#include <optional>

class QWidget;

// Describes and pictures the program's own top-level windows for the HTTP API.
class AppWindowList {
public:
    // Every top-level window of the program, and the primary monitor's rectangle in Qt's coordinates.
    static QList<QWidget*> topLevelWindows();
    static QRectF primaryGeometry();

    // "textEditor" for the editor window, then by class name "sidebar" or "captureOverlay", then by title
    // "preferences", else "other". The substring tests are case-sensitive.
    static QString windowType(const QWidget* window, const QWidget* textEditor);
    // The stacking level in the program's convention: 0 normal, 3 kept above others, 1000 drawn over everything
    // without the window manager (the capture overlays).
    static int level(const QWidget* window);
    // One object per visible window: "title", "frame" (origin at the bottom-left of the primary monitor, y
    // upwards), "isKey", "isMain", "level", "type".
    static nlohmann::json windowList(const QList<QWidget*>& windows, const QWidget* textEditor,
                                     const QRectF& primaryGeometry);
    // The visible windows drawn into one picture the size of their union, one pixel per point, lower levels
    // underneath; nothing when no window is visible.
    static std::optional<QByteArray> compositePNG(const QList<QWidget*>& windows);
};
