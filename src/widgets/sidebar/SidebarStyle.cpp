#include "widgets/sidebar/SidebarStyle.h"

#include <QPainter>
#include <QPixmap>

QIcon SidebarStyle::icon(const QString& name)
{
    return QIcon::fromTheme(name, QIcon(QStringLiteral(":/sidebar/%1.svg").arg(name)));
}

QPixmap SidebarStyle::tinted(const QIcon& icon, int size, const QColor& color, qreal devicePixelRatio)
{
    QPixmap pixmap = icon.pixmap(QSize(size, size), devicePixelRatio);
    if (pixmap.isNull())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), color);
    return pixmap;
}
