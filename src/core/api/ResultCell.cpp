#include "core/api/ResultCell.h"

ResultCell::ResultCell(std::any fallback)
    : m_value(std::move(fallback))
{}

void ResultCell::put(std::any value)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_done)
            return;
        m_value = std::move(value);
        m_done = true;
    }
    m_signal.notify_all();
}

void ResultCell::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_signal.notify_all();
}

std::any ResultCell::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_signal.wait_for(lock, timeout, [this] { return m_done; });
    m_done = true;
    return m_value;
}
