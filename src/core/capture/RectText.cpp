#include "core/capture/RectText.h"

#include <QLocale>
#include <QRectF>

#include <cmath>

namespace {

bool isWhole(double value)
{
    return std::isfinite(value) && std::abs(value) < 1e15 && value == std::trunc(value);
}

} // namespace

QString RectText::shortNumber(double value)
{
    if (isWhole(value))
        return QString::number(qint64(value));
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("nan") : (value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf"));
    // The shortest digits that read back as the same number, never in exponent form.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString RectText::floatNumber(double value)
{
    if (isWhole(value))
        return QString::number(qint64(value)) + QStringLiteral(".0");
    return shortNumber(value);
}

QString RectText::nested(const QRectF& rect)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(shortNumber(rect.x()), shortNumber(rect.y()), shortNumber(rect.width()), shortNumber(rect.height()));
}

QString RectText::tuple(const QRectF& rect)
{
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(floatNumber(rect.x()), floatNumber(rect.y()), floatNumber(rect.width()), floatNumber(rect.height()));
}
