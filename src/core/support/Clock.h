#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

// Time as the program's timers see it: a monotonic count of milliseconds and one-shot timers that call back on
// the thread that made them. SystemClock is the real one; tests move a ManualClock by hand.
class Clock {
public:
    class Timer {
    public:
        virtual ~Timer() = default;
        // Calls the timer's function once, delayMs from now, unless stopped or started again before.
        virtual void start(qint64 delayMs) = 0;
        virtual void stop() = 0;
        virtual bool isActive() const = 0;
    };

    virtual ~Clock() = default;

    // Milliseconds since some fixed point; never goes back.
    virtual qint64 nowMs() const = 0;
    // A stopped timer that calls timeout when it fires. Destroying the timer stops it.
    virtual std::unique_ptr<Timer> makeTimer(std::function<void()> timeout) = 0;
};
