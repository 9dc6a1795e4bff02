#include "platform/fake/FakeTextRecognizer.h"

#include <QImage>
#include <QThread>

#include <thread>

void FakeTextRecognizer::setText(const QString& text)
{
    std::lock_guard lock(m_mutex);
    m_text = text;
}

void FakeTextRecognizer::setError(const QString& description)
{
    std::lock_guard lock(m_mutex);
    m_error = description;
}

void FakeTextRecognizer::setDelay(std::chrono::milliseconds delay)
{
    std::lock_guard lock(m_mutex);
    m_delay = delay;
}

void FakeTextRecognizer::hold()
{
    std::lock_guard lock(m_mutex);
    m_held = true;
}

void FakeTextRecognizer::release()
{
    std::lock_guard lock(m_mutex);
    m_held = false;
    m_changed.notify_all();
}

QString FakeTextRecognizer::recognize(const QImage& image, QString* error)
{
    std::chrono::milliseconds delay;
    {
        std::unique_lock lock(m_mutex);
        m_calls.append(Call{image, QThread::currentThreadId()});
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_held; });
        delay = m_delay;
    }
    if (delay.count() > 0)
        std::this_thread::sleep_for(delay);

    std::lock_guard lock(m_mutex);
    ++m_finished;
    m_changed.notify_all();
    if (!m_error.isEmpty()) {
        if (error)
            *error = m_error;
        return {};
    }
    return m_text;
}

QList<FakeTextRecognizer::Call> FakeTextRecognizer::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

int FakeTextRecognizer::started() const
{
    std::lock_guard lock(m_mutex);
    return int(m_calls.size());
}

int FakeTextRecognizer::finished() const
{
    std::lock_guard lock(m_mutex);
    return m_finished;
}

bool FakeTextRecognizer::waitUntilStarted(int count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_calls.size() >= count; });
}

bool FakeTextRecognizer::warmUp(QString* error)
{
    std::lock_guard lock(m_mutex);
    m_warmUps.append(QThread::currentThreadId());
    if (!m_error.isEmpty() && error)
        *error = m_error;
    return m_error.isEmpty();
}

QList<Qt::HANDLE> FakeTextRecognizer::warmUps() const
{
    std::lock_guard lock(m_mutex);
    return m_warmUps;
}

void FakeTextRecognizer::releaseSpareEngines()
{
    std::lock_guard lock(m_mutex);
    ++m_releases;
}

int FakeTextRecognizer::releases() const
{
    std::lock_guard lock(m_mutex);
    return m_releases;
}
