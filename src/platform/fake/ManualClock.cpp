#include "platform/fake/ManualClock.h"

#include <algorithm>

class ManualClock::ManualTimer : public Clock::Timer {
public:
    ManualTimer(ManualClock& clock, std::function<void()> timeout)
        : clock(&clock)
        , timeout(std::move(timeout))
    {
        clock.m_timers.append(this);
    }
    ~ManualTimer() override
    {
        if (clock)
            clock->m_timers.removeOne(this);
    }

    void start(qint64 delayMs) override
    {
        if (clock)
            deadline = clock->m_now + std::max<qint64>(0, delayMs);
        active = true;
    }
    void stop() override { active = false; }
    bool isActive() const override { return active; }

    ManualClock* clock;
    std::function<void()> timeout;
    qint64 deadline = 0;
    bool active = false;
};

ManualClock::~ManualClock()
{
    for (ManualTimer* timer : std::as_const(m_timers))
        timer->clock = nullptr;
}

std::unique_ptr<Clock::Timer> ManualClock::makeTimer(std::function<void()> timeout)
{
    return std::make_unique<ManualTimer>(*this, std::move(timeout));
}

void ManualClock::advance(qint64 ms)
{
    const qint64 end = m_now + ms;
    for (;;) {
        // A timer's function may start, stop or destroy timers, so the next one due is looked up afresh.
        ManualTimer* next = nullptr;
        for (ManualTimer* timer : std::as_const(m_timers))
            if (timer->active && timer->deadline <= end && (!next || timer->deadline < next->deadline))
                next = timer;
        if (!next)
            break;
        m_now = std::max(m_now, next->deadline);
        next->active = false;
        next->timeout();
    }
    m_now = end;
}
