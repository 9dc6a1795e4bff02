#include "core/support/ThreadCheck.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QByteArray describe(const QThread* thread)
{
    if (!thread)
        return QByteArrayLiteral("no thread");
    if (QCoreApplication::instance() && thread == QCoreApplication::instance()->thread())
        return QByteArrayLiteral("the main thread");
    const QString name = thread->objectName();
    return (name.isEmpty() ? QStringLiteral("unnamed thread") : name).toUtf8() + QByteArrayLiteral(" (0x") +
           QByteArray::number(quintptr(thread), 16) + ')';
}

} // namespace

void ThreadCheck::failOwnerThread(const QObject* owner, const char* operation)
{
    // Straight to standard error rather than through the message handler: the handler's sink may be the very
    // thing being misused, and the program is about to end.
    std::fprintf(stderr, "quillora: %s called on %s, but %s belongs to %s\n", operation,
                 describe(QThread::currentThread()).constData(), owner->metaObject()->className(),
                 describe(owner->thread()).constData());
    std::fflush(stderr);
    std::abort();
}
