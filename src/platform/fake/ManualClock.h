#pragma once

#include "core/support/Clock.h"

#include <QList>

// A clock that stands still until the test moves it; advance() fires the timers that fall due on the way, in
// the order of their deadlines, each with the clock set to its deadline.
class ManualClock : public Clock {
public:
    ManualClock() = default;
    ~ManualClock() override;

    qint64 nowMs() const override { return m_now; }
    std::unique_ptr<Timer> makeTimer(std::function<void()> timeout) override;

    void advance(qint64 ms);

private:
    class ManualTimer;
    friend class ManualTimer;

    qint64 m_now = 1'000'000;
    QList<ManualTimer*> m_timers;
};
