#include "core/capture/SelectionGeometry.h"

#include <algorithm>
#include <cmath>

QRectF SelectionGeometry::rectFromPoints(const QPointF& start, const QPointF& end)
{
    return {std::min(start.x(), end.x()), std::min(start.y(), end.y()), std::abs(end.x() - start.x()),
            std::abs(end.y() - start.y())};
}

QPointF SelectionGeometry::clampedToView(const QPointF& point, const QSizeF& viewSize)
{
    return {std::clamp(point.x(), 0.0, std::max(0.0, viewSize.width())),
            std::clamp(point.y(), 0.0, std::max(0.0, viewSize.height()))};
}

bool SelectionGeometry::isLargeEnough(const QRectF& selection)
{
    return selection.width() > MinimumSide && selection.height() > MinimumSide;
}

QRectF SelectionGeometry::doubleClickBox(const QPointF& click, const QSizeF& viewSize)
{
    const QRectF box(click.x() - DoubleClickBoxSize.width() / 2, click.y() - DoubleClickBoxSize.height() / 2,
                     DoubleClickBoxSize.width(), DoubleClickBoxSize.height());
    return box.intersected(QRectF(QPointF(0, 0), viewSize));
}

QString SelectionGeometry::sizeLabelText(const QRectF& selection)
{
    return QStringLiteral("%1 × %2").arg(qint64(selection.width())).arg(qint64(selection.height()));
}

QRectF SelectionGeometry::labelPillRect(const QRectF& selection, const QSizeF& textSize, const QSizeF& viewSize)
{
    const qreal width = textSize.width() + 2 * LabelPaddingX;
    const qreal height = textSize.height() + 2 * LabelPaddingY;

    qreal y = selection.y() + selection.height() + LabelGap;
    if (y + height > viewSize.height() - LabelEdgeInset)
        y = selection.y() - height - LabelGap;
    // A selection that spans the whole monitor's height leaves room neither below nor above it; the label then
    // sits just inside the top edge rather than off the screen where nobody can read it.
    if (y < LabelEdgeInset)
        y = std::min(LabelEdgeInset, viewSize.height() - height - LabelEdgeInset);

    qreal x = selection.x() + selection.width() / 2 - width / 2;
    x = std::min(x, viewSize.width() - width - LabelEdgeInset);
    x = std::max(x, LabelEdgeInset);
    return {x, y, width, height};
}
