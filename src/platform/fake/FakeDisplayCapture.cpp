#include "platform/fake/FakeDisplayCapture.h"

#include <QThread>

#include <algorithm>

void FakeDisplayCapture::addDisplay(const Monitor& display, const QImage& image)
{
    std::lock_guard lock(m_mutex);
    m_displays.append(display);
    m_images.insert(display.id, image);
}

void FakeDisplayCapture::setCanCapture(bool canCapture)
{
    std::lock_guard lock(m_mutex);
    m_canCapture = canCapture;
}

void FakeDisplayCapture::setRendezvous(int callsInFlight, std::chrono::milliseconds timeout)
{
    std::lock_guard lock(m_mutex);
    m_rendezvous = callsInFlight;
    m_rendezvousTimeout = timeout;
}

QList<Monitor> FakeDisplayCapture::displays() const
{
    std::lock_guard lock(m_mutex);
    return m_displays;
}

QImage FakeDisplayCapture::captureDisplay(const Monitor& display)
{
    std::unique_lock lock(m_mutex);
    m_calls.append(Call{display.id, QThread::currentThreadId()});
    ++m_inFlight;
    m_maxInFlight = std::max(m_maxInFlight, m_inFlight);
    m_changed.notify_all();
    if (m_rendezvous > 1)
        m_changed.wait_for(lock, m_rendezvousTimeout, [this] { return m_maxInFlight >= m_rendezvous; });
    --m_inFlight;
    return m_images.value(display.id);
}

QImage FakeDisplayCapture::capturePrimaryDisplay()
{
    const QList<Monitor> all = displays();
    return all.isEmpty() ? QImage() : captureDisplay(all.first());
}

bool FakeDisplayCapture::canCapture()
{
    std::lock_guard lock(m_mutex);
    ++m_permissionChecks;
    return m_canCapture;
}

int FakeDisplayCapture::permissionChecks() const
{
    std::lock_guard lock(m_mutex);
    return m_permissionChecks;
}

QList<FakeDisplayCapture::Call> FakeDisplayCapture::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

int FakeDisplayCapture::maxCallsInFlight() const
{
    std::lock_guard lock(m_mutex);
    return m_maxInFlight;
}
