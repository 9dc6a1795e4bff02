#include "widgets/common/EscClosableWindow.h"

#include <QKeyEvent>

EscClosableWindow::EscClosableWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{}

void EscClosableWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
