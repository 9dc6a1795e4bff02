#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>
#include <QUuid>

#include <array>
#include <functional>

class QDateTime;

// Draws one history entry as a row of the sidebar's list: up to two lines of its text, how long ago it was made,
// and its buttons (screenshot, copy, edit, delete; the screenshot button only when the entry has one). Rows are
// painted, not built from widgets, so that a list of hundreds of entries opens and scrolls without a stall; the
// panel tells the cell view which row and button the pointer is over and which entry was just copied.
class HistoryEntryCellView : public QStyledItemDelegate {
    Q_OBJECT

public:
    enum class Button { None = -1, Screenshot, Copy, Edit, Delete };
    static constexpr int RowHeight = 60;
    static constexpr int ButtonSize = 22;
    static constexpr int ButtonSpacing = 2;
    // How far around a button the pointer still counts as over it.
    static constexpr int HoverMargin = 4;

    explicit HistoryEntryCellView(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where a button sits in a row's rectangle; a null rectangle for the screenshot button of an entry without one.
    static QRect buttonRect(const QRect& cell, Button button, bool hasScreenshot);
    // The button under point, tried in the order screenshot, copy, edit, delete, each with its hover margin.
    static Button buttonAt(const QRect& cell, const QPoint& point, bool hasScreenshot);

    void setHover(int row, Button button);
    int hoveredRow() const { return m_hoveredRow; }
    Button hoveredButton() const { return m_hoveredButton; }
    // The entry whose copy button shows the check mark; a null id for none.
    void setCopied(const QUuid& id) { m_copied = id; }
    QUuid copied() const { return m_copied; }
    // The time the dates are measured against; the current time when empty (tests fix it).
    std::function<QDateTime()> now;

private:
    enum Tint { Tertiary, Secondary, Label, TintCount };
    const QPixmap& icon(Button button, Tint tint, qreal devicePixelRatio) const;

    int m_hoveredRow = -1;
    Button m_hoveredButton = Button::None;
    QUuid m_copied;
    std::array<QIcon, 4> m_icons;
    QIcon m_checkIcon;
    // Tinted icons are made once per button, tint and pixel ratio, not on every paint.
    mutable std::array<std::array<QPixmap, TintCount>, 4> m_tinted;
    mutable QPixmap m_check;
};
