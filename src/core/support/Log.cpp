#include "core/support/Log.h"

#include <cstdio>
#include <mutex>
#include <syslog.h>

namespace {

std::mutex& sinkMutex()
{
    static std::mutex mutex;
    return mutex;
}

Log::Sink& currentSink()
{
    static Log::Sink sink;
    return sink;
}

void write(Log::Channel channel, const QString& line)
{
    std::lock_guard lock(sinkMutex());
    if (currentSink()) {
        currentSink()(channel, line);
        return;
    }
    const QByteArray bytes = line.toUtf8();
    if (channel == Log::Channel::Out) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        return;
    }
    static const bool mirrorToStderr = [] {
        openlog("quillora", LOG_PID, LOG_USER);
        return qEnvironmentVariableIntValue("QUILLORA_LOG_STDERR") != 0;
    }();
    syslog(LOG_NOTICE, "%s", bytes.constData());
    // Scripts and end-to-end tests cannot read the system log of a sandbox; they ask for a copy on stderr.
    if (mirrorToStderr) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
        std::fputc('\n', stderr);
    }
}

} // namespace

QString Log::expand(const QString& format, std::initializer_list<Arg> args)
{
    QString result;
    result.reserve(format.size() + 16);
    auto next = args.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'%' && i + 1 < format.size()) {
            const QChar spec = format.at(i + 1);
            if (spec == u'%') {
                result += u'%';
                ++i;
                continue;
            }
            if (spec == u'd' || spec == u'@') {
                if (next != args.end()) {
                    result += next->text();
                    ++next;
                } else {
                    result += QStringLiteral("(null)");
                }
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

void Log::system(const QString& format, std::initializer_list<Arg> args)
{
    write(Channel::System, expand(format, args));
}

void Log::out(const QString& line)
{
    write(Channel::Out, line);
}

void Log::setSink(Sink sink)
{
    std::lock_guard lock(sinkMutex());
    currentSink() = std::move(sink);
}
