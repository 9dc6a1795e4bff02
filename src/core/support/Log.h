#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>

// The program's two diagnostic channels: the system log (syslog, ident "quillora") and standard output.
// Tests install a sink to see every line instead. With QUILLORA_LOG_STDERR=1 in the environment, system-log
// lines are also copied to standard error.
class Log {
public:
    enum class Channel { System, Out };
    using Sink = std::function<void(Channel, const QString&)>;

    // One argument of a formatted system-log line; "%d" and "%@" take the next one in order.
    class Arg {
    public:
        Arg(const QString& text)
            : m_text(text)
        {}
        Arg(const char* text)
            : m_text(QString::fromUtf8(text))
        {}
        Arg(int value)
            : m_text(QString::number(value))
        {}
        Arg(long value)
            : m_text(QString::number(value))
        {}
        Arg(long long value)
            : m_text(QString::number(value))
        {}
        Arg(unsigned value)
            : m_text(QString::number(value))
        {}
        Arg(unsigned long value)
            : m_text(QString::number(value))
        {}
        Arg(unsigned long long value)
            : m_text(QString::number(value))
        {}
        Arg(double value)
            : m_text(QString::number(value))
        {}
        Arg(bool value)
            : m_text(QString::number(value ? 1 : 0))
        {}
        const QString& text() const { return m_text; }

    private:
        QString m_text;
    };

    // Writes a line to the system log after expanding "%d" and "%@" (and "%%") with args.
    static void system(const QString& format, std::initializer_list<Arg> args = {});
    // Writes a line to standard output.
    static void out(const QString& line);

    static QString expand(const QString& format, std::initializer_list<Arg> args);

    // Replaces the real channels; an empty sink restores them. Thread-safe.
    static void setSink(Sink sink);
};
