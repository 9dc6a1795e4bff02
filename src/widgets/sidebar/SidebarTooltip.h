#pragma once

#include <QWidget>

// The sidebar's tooltip: white text on a dark rounded plate, centred 4 points below the button it explains (moved
// left as far as the screen's edge needs). One exists for the panel, and it is shown without taking the keyboard
// from anyone.
class SidebarTooltip : public QWidget {
    Q_OBJECT

public:
    explicit SidebarTooltip(QWidget* parent = nullptr);

    // Shows text below anchor (a rectangle in global coordinates), replacing what was shown.
    void showBelow(const QString& text, const QRect& anchor);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
