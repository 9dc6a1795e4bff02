#include "LogCapture.h"

LogCapture::LogCapture()
{
    Log::install();
    Log::setSink([this](Log::Channel channel, QtMsgType type, const QString& text) {
        std::lock_guard lock(m_mutex);
        m_lines.append({channel, type, text});
    });
}

LogCapture::~LogCapture()
{
    Log::setSink({});
}

QList<LogCapture::Line> LogCapture::lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

void LogCapture::clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

QStringList LogCapture::texts(Log::Channel channel) const
{
    QStringList result;
    for (const Line& line : lines())
        if (line.channel == channel)
            result.append(line.text);
    return result;
}
