#pragma once

#include <QColor>
#include <QIcon>

class QPixmap;

// The sidebar's dark look: its colours and its icons, which come from the desktop's icon theme where it has them
// and from the program's own drawings otherwise (a bare X session has no theme).
class SidebarStyle {
public:
    static QColor background() { return QColor(30, 31, 36); }
    static QColor label() { return QColor(255, 255, 255, 235); }
    static QColor secondaryLabel() { return QColor(255, 255, 255, 150); }
    static QColor tertiaryLabel() { return QColor(255, 255, 255, 80); }
    static QColor green() { return QColor(52, 199, 89); }
    static QColor hoveredRow() { return QColor(52, 199, 89, 38); } // green at 0.15

    // name is a freedesktop icon name; the fallback is the resource ":/sidebar/<name>.svg".
    static QIcon icon(const QString& name);
    // The icon's shape filled with one colour, so that theme icons in colour and the program's own read alike on
    // the dark panel.
    static QPixmap tinted(const QIcon& icon, int size, const QColor& color, qreal devicePixelRatio);
};
