#pragma once

#include "core/support/Clock.h"

#include <QElapsedTimer>

// The monotonic clock and Qt's timers of the calling thread's event loop.
class SystemClock : public Clock {
public:
    SystemClock();

    qint64 nowMs() const override;
    std::unique_ptr<Timer> makeTimer(std::function<void()> timeout) override;

private:
    QElapsedTimer m_elapsed;
};
