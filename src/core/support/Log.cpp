#include "core/support/Log.h"

#include "core/support/DebugLogFile.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <syslog.h>

Q_LOGGING_CATEGORY(lcApp, "quillora.app")
Q_LOGGING_CATEGORY(lcApi, "quillora.api")
Q_LOGGING_CATEGORY(lcCapture, "quillora.capture")
Q_LOGGING_CATEGORY(lcHistory, "quillora.history")
Q_LOGGING_CATEGORY(lcHotkey, "quillora.hotkey")
Q_LOGGING_CATEGORY(lcOverlay, "quillora.overlay")
// The filter below turns it on only with QUILLORA_DEBUG_LOG; without the handler nothing writes the file anyway.
Q_LOGGING_CATEGORY(lcOverlayTrace, "quillora.overlay.trace", QtInfoMsg)
Q_LOGGING_CATEGORY(lcRecognition, "quillora.recognition")
Q_LOGGING_CATEGORY(lcSettings, "quillora.settings")

namespace {

constexpr char ourPrefix[] = "quillora.";
constexpr char traceCategory[] = "quillora.overlay.trace";

QtMessageHandler previousHandler = nullptr;
QLoggingCategory::CategoryFilter previousFilter = nullptr;
std::atomic<bool> mirrorToStderr = false;
std::atomic<bool> debugFileEnabled = false;

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

bool isOurs(const char* category)
{
    return category && std::strncmp(category, ourPrefix, sizeof(ourPrefix) - 1) == 0;
}

Log::Channel channelOf(QtMsgType type, const char* category)
{
    if (std::strcmp(category, traceCategory) == 0)
        return Log::Channel::DebugFile;
    return type == QtInfoMsg ? Log::Channel::Out : Log::Channel::System;
}

int syslogPriority(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
    case QtInfoMsg:
        return LOG_INFO;
    case QtWarningMsg:
        return LOG_WARNING;
    case QtCriticalMsg:
        return LOG_ERR;
    case QtFatalMsg:
        return LOG_CRIT;
    }
    return LOG_NOTICE;
}

void writeLine(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void write(Log::Channel channel, QtMsgType type, const QString& line)
{
    switch (channel) {
    case Log::Channel::Out:
        writeLine(stdout, line.toUtf8());
        return;
    case Log::Channel::DebugFile:
        DebugLogFile::append(line);
        return;
    case Log::Channel::System:
        break;
    }
    static const bool opened = [] {
        openlog("quillora", LOG_PID, LOG_USER);
        return true;
    }();
    Q_UNUSED(opened);
    const QByteArray bytes = line.toUtf8();
    syslog(syslogPriority(type), "%s", bytes.constData());
    if (mirrorToStderr)
        writeLine(stderr, bytes);
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!isOurs(context.category)) {
        previousHandler(type, context, message);
        return;
    }
    const Log::Channel channel = channelOf(type, context.category);
    std::lock_guard lock(sinkMutex());
    if (currentSink()) {
        currentSink()(channel, type, message);
        return;
    }
    write(channel, type, message);
}

void filterCategory(QLoggingCategory* category)
{
    if (previousFilter)
        previousFilter(category);
    if (std::strcmp(category->categoryName(), traceCategory) != 0)
        return;
    for (const QtMsgType type : {QtDebugMsg, QtInfoMsg, QtWarningMsg, QtCriticalMsg})
        category->setEnabled(type, debugFileEnabled);
}

} // namespace

void Log::install()
{
    mirrorToStderr = qEnvironmentVariableIntValue("QUILLORA_LOG_STDERR") != 0;
    debugFileEnabled = qEnvironmentVariableIsSet(DebugLogFile::EnableVariable);
    static std::once_flag installed;
    std::call_once(installed, [] {
        previousHandler = qInstallMessageHandler(handleMessage);
        previousFilter = QLoggingCategory::installFilter(filterCategory);
    });
    // Installing the filter again applies it to every category there is, with the switch just read.
    QLoggingCategory::installFilter(filterCategory);
}

void Log::setSink(Sink sink)
{
    std::lock_guard lock(sinkMutex());
    currentSink() = std::move(sink);
}
