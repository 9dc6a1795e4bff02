#include "LogCapture.h"

namespace {
const QString systemPrefix = QStringLiteral("(log) ");
const QString outPrefix = QStringLiteral("(out) ");
} // namespace

LogCapture::LogCapture()
{
    Log::setSink([this](Log::Channel channel, const QString& line) {
        std::lock_guard lock(m_mutex);
        m_lines.append((channel == Log::Channel::System ? systemPrefix : outPrefix) + line);
    });
}

LogCapture::~LogCapture()
{
    Log::setSink({});
}

QStringList LogCapture::systemLines() const
{
    QStringList result;
    for (const QString& line : allLines())
        if (line.startsWith(systemPrefix))
            result.append(line.mid(systemPrefix.size()));
    return result;
}

QStringList LogCapture::outLines() const
{
    QStringList result;
    for (const QString& line : allLines())
        if (line.startsWith(outPrefix))
            result.append(line.mid(outPrefix.size()));
    return result;
}

QStringList LogCapture::allLines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

void LogCapture::clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}
