#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the editor opens after a capture: centred under the pointer, clear of the edges of the monitor's
// available area. Qt's global coordinates: points, origin at the top-left of the virtual desktop, y downwards.
class TextEditorPlacement {
public:
    // Between the pointer and the window's top edge, and between the window and the available area's edges.
    static constexpr qreal Offset = 20.0;

    // The window's frame for a window of windowSize with the pointer at pointer, inside availableArea. The size
    // is kept; on an area too small for the window the right and top edges win.
    static QRectF frameNextToPointer(const QPointF& pointer, const QSizeF& windowSize, const QRectF& availableArea);
};
