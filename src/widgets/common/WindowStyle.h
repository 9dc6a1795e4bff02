#pragma once

#include <QString>

class QLabel;
class QWidget;

// The look shared by the first-run and information windows, so that they read as one family.
class WindowStyle {
public:
    static constexpr int Margin = 24;         // around a window's content
    static constexpr int Spacing = 14;        // between blocks of content
    static constexpr int DocumentMargin = 18; // inside a text view that fills the window

    // A title-size label.
    static QLabel* heading(const QString& text, QWidget* parent);
    // A wrapping body-text label that can be selected with the mouse.
    static QLabel* body(const QString& text, QWidget* parent);
    // The program's icon at the given size in logical pixels.
    static QLabel* icon(int size, QWidget* parent);

    static void centerOnScreen(QWidget* window);
    // Shows the window in front of others and gives it the keyboard.
    static void bringToFront(QWidget* window);
};
