#include "core/support/SystemClock.h"

#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

class QtTimer : public Clock::Timer {
public:
    explicit QtTimer(std::function<void()> timeout)
    {
        m_timer.setSingleShot(true);
        // Precise rather than coarse: the default lets a timer fire up to 5 % early, and the callers compare
        // against their own deadlines.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [timeout = std::move(timeout)] { timeout(); });
    }

    void start(qint64 delayMs) override
    {
        m_timer.start(int(std::clamp<qint64>(delayMs, 0, std::numeric_limits<int>::max())));
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

SystemClock::SystemClock()
{
    m_elapsed.start();
}

qint64 SystemClock::nowMs() const
{
    return m_elapsed.elapsed();
}

std::unique_ptr<Clock::Timer> SystemClock::makeTimer(std::function<void()> timeout)
{
    return std::make_unique<QtTimer>(std::move(timeout));
}
