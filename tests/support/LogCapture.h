#pragma once

#include "core/support/Log.h"

#include <QStringList>

#include <mutex>

// Collects every line written to either log channel while it exists.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList systemLines() const;
    QStringList outLines() const;
    // Both channels in the order written, each line prefixed "(log) " or "(out) ".
    QStringList allLines() const;
    bool containsOut(const QString& line) const { return outLines().contains(line); }
    bool containsSystem(const QString& line) const { return systemLines().contains(line); }
    void clear();

private:
    mutable std::mutex m_mutex;
    QStringList m_lines;
};
