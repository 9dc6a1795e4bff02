#include "widgets/sidebar/HistoryEntryCellView.h"

#include "core/sidebar/HistoryListModel.h"
#include "core/sidebar/RelativeDate.h"
#include "widgets/sidebar/SidebarStyle.h"

#include <QDateTime>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int IconSize = 16;
constexpr int PaddingLeft = 12;
constexpr int PaddingRight = 8;
constexpr int TextToButtons = 8;
constexpr int LineSpacing = 2;
constexpr int TextPixelSize = 12;
constexpr int DatePixelSize = 10;
constexpr int MaxLines = 2;

QFont pixelFont(const QFont& base, int pixelSize)
{
    QFont font(base);
    font.setPixelSize(pixelSize);
    return font;
}

// At most MaxLines lines of text, the last one cut with an ellipsis when the text goes on.
QStringList wrappedLines(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == MaxLines - 1) {
            const QString rest = text.mid(line.textStart()).trimmed();
            lines.append(QFontMetrics(font).elidedText(rest, Qt::ElideRight, width));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

} // namespace

HistoryEntryCellView::HistoryEntryCellView(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_icons{SidebarStyle::icon(QStringLiteral("image-x-generic")), SidebarStyle::icon(QStringLiteral("edit-copy")),
              SidebarStyle::icon(QStringLiteral("document-edit")), SidebarStyle::icon(QStringLiteral("edit-delete"))}
    , m_checkIcon(QIcon(QStringLiteral(":/sidebar/checkmark.svg")))
{}

QSize HistoryEntryCellView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), RowHeight);
}

QRect HistoryEntryCellView::buttonRect(const QRect& cell, Button button, bool hasScreenshot)
{
    if (button == Button::None || (button == Button::Screenshot && !hasScreenshot))
        return {};
    // Laid out from the right edge: delete last, the screenshot button first when there is one.
    const int fromRight = int(Button::Delete) - int(button);
    const int right = cell.right() + 1 - PaddingRight - fromRight * (ButtonSize + ButtonSpacing);
    return QRect(right - ButtonSize, cell.top() + (cell.height() - ButtonSize) / 2, ButtonSize, ButtonSize);
}

HistoryEntryCellView::Button HistoryEntryCellView::buttonAt(const QRect& cell, const QPoint& point, bool hasScreenshot)
{
    for (Button button : {Button::Screenshot, Button::Copy, Button::Edit, Button::Delete}) {
        const QRect rect = buttonRect(cell, button, hasScreenshot);
        if (!rect.isNull() && rect.adjusted(-HoverMargin, -HoverMargin, HoverMargin, HoverMargin).contains(point))
            return button;
    }
    return Button::None;
}

void HistoryEntryCellView::setHover(int row, Button button)
{
    m_hoveredRow = row;
    m_hoveredButton = row >= 0 ? button : Button::None;
}

const QPixmap& HistoryEntryCellView::icon(Button button, Tint tint, qreal devicePixelRatio) const
{
    static const QColor tints[TintCount] = {SidebarStyle::tertiaryLabel(), SidebarStyle::secondaryLabel(),
                                            SidebarStyle::label()};
    QPixmap& pixmap = m_tinted[size_t(button)][tint];
    if (pixmap.isNull() || pixmap.devicePixelRatio() != devicePixelRatio)
        pixmap = SidebarStyle::tinted(m_icons[size_t(button)], IconSize, tints[tint], devicePixelRatio);
    return pixmap;
}

void HistoryEntryCellView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect cell = option.rect;
    const bool hovered = index.row() == m_hoveredRow;
    const bool hasScreenshot = index.data(HistoryListModel::HasScreenshotRole).toBool();
    const qreal ratio = painter->device()->devicePixelRatioF();

    painter->save();
    if (hovered)
        painter->fillRect(cell, SidebarStyle::hoveredRow());

    int buttonsLeft = cell.right() + 1 - PaddingRight;
    for (Button button : {Button::Screenshot, Button::Copy, Button::Edit, Button::Delete}) {
        const QRect rect = buttonRect(cell, button, hasScreenshot);
        if (rect.isNull())
            continue;
        buttonsLeft = std::min(buttonsLeft, rect.left());
        const QRect iconRect(rect.center() - QPoint(IconSize / 2 - 1, IconSize / 2 - 1), QSize(IconSize, IconSize));
        if (button == Button::Copy && !m_copied.isNull() && index.data(HistoryListModel::IdRole).toUuid() == m_copied) {
            if (m_check.isNull() || m_check.devicePixelRatio() != ratio)
                m_check = SidebarStyle::tinted(m_checkIcon, IconSize, SidebarStyle::green(), ratio);
            painter->drawPixmap(iconRect, m_check);
            continue;
        }
        const Tint tint = !hovered ? Tertiary : button == m_hoveredButton ? Label : Secondary;
        painter->drawPixmap(iconRect, icon(button, tint, ratio));
    }

    const QFont textFont = pixelFont(option.font, TextPixelSize);
    const QFont dateFont = pixelFont(option.font, DatePixelSize);
    const int textLeft = cell.left() + PaddingLeft;
    const int textWidth = std::max(0, buttonsLeft - TextToButtons - textLeft);
    const QStringList lines = wrappedLines(index.data(Qt::DisplayRole).toString(), textFont, textWidth);
    const QDateTime timestamp = index.data(HistoryListModel::TimestampRole).toDateTime();
    const QString date = RelativeDate::text(timestamp, now ? now() : QDateTime::currentDateTimeUtc());

    const QFontMetrics textMetrics(textFont);
    const QFontMetrics dateMetrics(dateFont);
    const int blockHeight = int(lines.size()) * textMetrics.height() + LineSpacing + dateMetrics.height();
    int y = cell.top() + (cell.height() - blockHeight) / 2;
    painter->setFont(textFont);
    painter->setPen(SidebarStyle::label());
    for (const QString& line : lines) {
        painter->drawText(QRect(textLeft, y, textWidth, textMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += textMetrics.height();
    }
    y += LineSpacing;
    painter->setFont(dateFont);
    painter->setPen(SidebarStyle::secondaryLabel());
    painter->drawText(QRect(textLeft, y, textWidth, dateMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter, date);
    painter->restore();
}
