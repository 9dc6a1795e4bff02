#include "platform/fake/FakePointerMonitor.h"

#include <algorithm>

bool FakePointerMonitor::start(Handler handler)
{
    m_handler = std::move(handler);
    return true;
}

void FakePointerMonitor::stop()
{
    m_handler = nullptr;
}

void FakePointerMonitor::move(qreal deltaX, qreal deltaY, bool dragging)
{
    QPointF next = m_position + QPointF(deltaX, deltaY);
    if (!bounds.isEmpty()) {
        // Like a real pointer, the position stops at the last pixel inside the bounds.
        next.setX(std::clamp(next.x(), bounds.left(), bounds.right() - 1));
        next.setY(std::clamp(next.y(), bounds.top(), bounds.bottom() - 1));
    }
    m_position = next;
    if (!m_handler)
        return;
    const Handler handler = m_handler;
    handler({m_position, deltaX, deltaY, dragging});
}
