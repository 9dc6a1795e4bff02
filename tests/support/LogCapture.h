#pragma once

#include "core/support/Log.h"

#include <QList>
#include <QStringList>

#include <mutex>

// Collects, instead of writing them, the lines the program's message handler sends while it exists.
class LogCapture {
public:
    struct Line {
        Log::Channel channel;
        QtMsgType type;
        QString text;
    };

    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QList<Line> lines() const;
    QStringList systemLines() const { return texts(Log::Channel::System); }
    QStringList outLines() const { return texts(Log::Channel::Out); }
    bool containsOut(const QString& line) const { return outLines().contains(line); }
    bool containsSystem(const QString& line) const { return systemLines().contains(line); }
    void clear();

private:
    QStringList texts(Log::Channel channel) const;

    mutable std::mutex m_mutex;
    QList<Line> m_lines;
};
