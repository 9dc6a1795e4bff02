#include "widgets/sidebar/SidebarTooltip.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int Padding = 6;
constexpr int Gap = 4;
constexpr qreal CornerRadius = 4;
constexpr int FontPixelSize = 11;

} // namespace

SidebarTooltip::SidebarTooltip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("sidebarTooltip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    QFont small = font();
    small.setPixelSize(FontPixelSize);
    setFont(small);
}

void SidebarTooltip::showBelow(const QString& text, const QRect& anchor)
{
    m_text = text;
    const QSize size = fontMetrics().size(Qt::TextSingleLine, text) + QSize(2 * Padding, 2 * Padding);
    QRect frame(QPoint(anchor.center().x() - size.width() / 2, anchor.bottom() + 1 + Gap), size);
    // Centred under a button near the screen's right edge, a long text (German ones are) would run off it.
    if (const QScreen* screen = QGuiApplication::screenAt(anchor.center())) {
        const QRect area = screen->availableGeometry();
        frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
    }
    setGeometry(frame);
    show();
    raise();
    update();
}

void SidebarTooltip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath plate;
    plate.addRoundedRect(QRectF(rect()), CornerRadius, CornerRadius);
    painter.fillPath(plate, QColor(0, 0, 0, 217));
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(Padding, Padding, -Padding, -Padding), Qt::AlignCenter, m_text);
}
