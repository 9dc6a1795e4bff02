#pragma once

#include <QString>

class QRectF;

// The two text forms of a rectangle in the program's diagnostic lines.
class RectText {
public:
    // System-log form: origin and size in nested curly brackets, numbers as short as they can be written,
    // for example {{100, 200}, {300, 50}} or {{10.5, 0}, {1, 2}}.
    static QString nested(const QRectF& rect);
    // Standard-output form: x, y, width, height as floating-point numbers in parentheses, for example
    // (100.0, 200.0, 300.0, 50.0).
    static QString tuple(const QRectF& rect);

    // One number in each form: 100 and 100.0, 10.5 and 10.5.
    static QString shortNumber(double value);
    static QString floatNumber(double value);
};
