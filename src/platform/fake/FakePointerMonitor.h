#pragma once

#include "core/platform/PointerMonitor.h"

#include <QRectF>

// A pointer monitor driven by the test: move() sets the position and reports the motion while started.
class FakePointerMonitor : public PointerMonitor {
public:
    bool start(Handler handler) override;
    void stop() override;
    QPointF position() const override { return m_position; }

    // Moves the pointer by the device delta, pinned to the rectangle when one is set, and reports it.
    void move(qreal deltaX, qreal deltaY, bool dragging = false);
    void setPosition(const QPointF& position) { m_position = position; }
    bool isStarted() const { return bool(m_handler); }

    // The area the pointer cannot leave, as the screens' union would; empty means unbounded.
    QRectF bounds;

private:
    Handler m_handler;
    QPointF m_position;
};
