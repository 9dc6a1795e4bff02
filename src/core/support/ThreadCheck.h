#pragma once

#include <QObject>
#include <QThread>

// The stores and the capture controller belong to the thread that made them (the main thread in the program);
// their mutating operations begin with QUILLORA_ASSERT_OWNER_THREAD(). Built with QUILLORA_CHECK_THREADS (the
// test and sanitizer builds) a call from another thread aborts at once, naming the operation and both threads,
// instead of corrupting a list some time later; otherwise it is Q_ASSERT, which release builds leave out.
namespace ThreadCheck {
[[noreturn]] void failOwnerThread(const QObject* owner, const char* operation);
}

#ifdef QUILLORA_CHECK_THREADS
#define QUILLORA_ASSERT_OWNER_THREAD()                                                                                 \
    do {                                                                                                               \
        if (QThread::currentThread() != thread()) [[unlikely]]                                                         \
            ThreadCheck::failOwnerThread(this, Q_FUNC_INFO);                                                           \
    } while (false)
#else
#define QUILLORA_ASSERT_OWNER_THREAD() Q_ASSERT(QThread::currentThread() == thread())
#endif
