#include "widgets/preferences/SettingsItem.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int IconColumn = 20;
constexpr int IconSize = 16;
constexpr int Padding = 8;

struct TabLook {
    const char* themeIcon;
    const char* fallbackIcon;
};

TabLook look(PreferencesTab tab)
{
    switch (tab) {
    case PreferencesTab::General:
        return {"preferences-system", ":/preferences/icons/general.svg"};
    case PreferencesTab::TextProcessing:
        return {"format-justify-left", ":/preferences/icons/text.svg"};
    case PreferencesTab::History:
        return {"document-open-recent", ":/preferences/icons/history.svg"};
    case PreferencesTab::API:
        return {"network-wired", ":/preferences/icons/api.svg"};
    }
    return {"", ""};
}

// The icon in one colour, as the title beside it: themes draw their icons in colours of their own.
QPixmap tinted(const QIcon& icon, const QColor& color, qreal ratio)
{
    QPixmap pixmap = icon.pixmap(QSize(IconSize, IconSize), ratio);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

} // namespace

SettingsItem::SettingsItem(PreferencesTab tab, QWidget* parent)
    : QAbstractButton(parent)
    , m_tab(tab)
{
    const TabLook tabLook = look(tab);
    setIcon(QIcon::fromTheme(QString::fromLatin1(tabLook.themeIcon), QIcon(QString::fromLatin1(tabLook.fallbackIcon))));
    setText(title(tab));
    setCheckable(true);
    setObjectName(QStringLiteral("tab-") + PreferencesTabs::rawValue(tab));
    setAccessibleName(text());
    //% "Shows this group of settings"
    setAccessibleDescription(qtTrId("accessibility.sidebar.hint"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString SettingsItem::title(PreferencesTab tab)
{
    switch (tab) {
    case PreferencesTab::General:
        //% "General"
        return qtTrId("prefs.tab.general");
    case PreferencesTab::TextProcessing:
        //% "Text"
        return qtTrId("prefs.tab.text");
    case PreferencesTab::History:
        //% "History"
        return qtTrId("prefs.tab.history");
    case PreferencesTab::API:
        //% "HTTP API"
        return qtTrId("prefs.tab.api");
    }
    return {};
}

QSize SettingsItem::sizeHint() const
{
    return {2 * Padding + IconColumn + 8 + fontMetrics().horizontalAdvance(text()), Height};
}

void SettingsItem::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = palette().color(QPalette::Highlight);
    const QColor color = isChecked() ? accent : palette().color(QPalette::WindowText);
    if (isChecked()) {
        QColor highlight = accent;
        highlight.setAlphaF(0.2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(highlight);
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    if (hasFocus()) {
        QColor ring = accent;
        ring.setAlphaF(0.6);
        painter.setPen(QPen(ring, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
    }

    const QRect iconBox(Padding, 0, IconColumn, height());
    const QRect iconRect =
        QRect(0, 0, IconSize, IconSize).translated(iconBox.center() - QPoint(IconSize / 2 - 1, IconSize / 2 - 1));
    painter.drawPixmap(iconRect, tinted(icon(), color, devicePixelRatioF()));

    painter.setPen(color);
    const QRect textRect(iconBox.right() + 1 + 8, 0, width() - iconBox.right() - 1 - 8 - Padding, height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}

void SettingsItem::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        emit stepRequested(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
