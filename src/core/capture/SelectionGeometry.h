#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The pure geometry of the selection overlay, in the view's own coordinates: points, origin at the top-left
// corner of the monitor, y downwards. Kept apart from the widget so every rule can be checked without a display.
class SelectionGeometry {
public:
    // A drag shorter than this in either direction is taken for a stray click rather than a selection.
    static constexpr qreal MinimumSide = 10.0;
    static constexpr QSizeF DoubleClickBoxSize{100.0, 30.0};
    // Distance of the size label from the selection and from the view's edges.
    static constexpr qreal LabelGap = 8.0;
    static constexpr qreal LabelEdgeInset = 4.0;
    // Padding around the label text inside its pill.
    static constexpr qreal LabelPaddingX = 6.0;
    static constexpr qreal LabelPaddingY = 3.0;

    // The rectangle spanned by two corners given in either order.
    static QRectF rectFromPoints(const QPointF& start, const QPointF& end);
    // The pointer kept on the view. While the button is held the overlay keeps getting the pointer after it left
    // the monitor, but only the monitor's own image can be captured: the selection ends at the monitor's edge, so
    // that the outline, the size label and the reported rectangle all show what is captured.
    static QPointF clampedToView(const QPointF& point, const QSizeF& viewSize);
    // Both sides must be longer than MinimumSide; exactly MinimumSide is still too small.
    static bool isLargeEnough(const QRectF& selection);
    // The fixed box a double-click selects, centred on the click and cut to the view.
    static QRectF doubleClickBox(const QPointF& click, const QSizeF& viewSize);

    // "240 × 96": the selection's size in whole points, truncated.
    static QString sizeLabelText(const QRectF& selection);
    // Where the size label's pill goes for a label text of textSize: below the selection, or above it when
    // there is no room below, centred on the selection but kept inside the view.
    static QRectF labelPillRect(const QRectF& selection, const QSizeF& textSize, const QSizeF& viewSize);
};
