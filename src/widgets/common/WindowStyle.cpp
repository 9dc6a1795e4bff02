#include "widgets/common/WindowStyle.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QWidget>

QLabel* WindowStyle::heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.45);
    font.setBold(true);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAccessibleName(text);
    return label;
}

QLabel* WindowStyle::body(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    label->setOpenExternalLinks(true);
    return label;
}

QLabel* WindowStyle::icon(int size, QWidget* parent)
{
    auto* label = new QLabel(parent);
    const qreal ratio = parent ? parent->devicePixelRatioF() : qApp->devicePixelRatio();
    QPixmap pixmap = QIcon(QStringLiteral(":/icons/quillora.svg")).pixmap(QSize(size, size), ratio);
    label->setPixmap(pixmap);
    label->setFixedSize(size, size);
    label->setAccessibleName(QStringLiteral("Quillora"));
    return label;
}

void WindowStyle::centerOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void WindowStyle::bringToFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
