#include "widgets/capture/ScreenshotWindow.h"

#include "widgets/capture/ScreenshotOverlayView.h"

#include <QResizeEvent>

// The window bypasses the window manager (an override-redirect window on X11): it is mapped at once exactly
// where it is put, with no frame, no placement policy and no focus-stealing prevention, and it stacks above
// managed windows, full-screen ones included. It takes the keyboard through a grab instead of the window
// manager's focus (see OverlayManager).
ScreenshotWindow::ScreenshotWindow(const Monitor& display)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("Quillora Capture"));
    setGeometry(display.geometry);
}

ScreenshotWindow::~ScreenshotWindow() = default;

void ScreenshotWindow::setContentView(ScreenshotOverlayView* view)
{
    if (m_view)
        m_view->deleteLater();
    m_view = view;
    if (!view)
        return;
    view->setParent(this);
    view->setGeometry(rect());
    view->show();
}

void ScreenshotWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_view)
        m_view->setGeometry(rect());
}
