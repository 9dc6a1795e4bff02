#include "platform/linux/QtClipboardPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void QtClipboardPasteboard::setText(const QString& text)
{
    // A fresh QMimeData replaces every format another program put there (rich text, images) with plain text.
    auto* data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

void QtClipboardPasteboard::setSelectionText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Selection);
}

QString QtClipboardPasteboard::text() const
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}
