#include "core/api/MainThreadBridge.h"

#include "core/api/HTTPAPIServerDelegate.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>

// One wait of the server thread for a value from the main thread. The value is stored at most once, and only
// while the waiter still waits, so a late answer never leaks into a later request.
class MainThreadBridge::Waiter {
public:
    void put(const Store& store)
    {
        {
            std::lock_guard lock(m_mutex);
            if (m_done)
                return;
            store();
            m_done = true;
        }
        m_signal.notify_all();
    }

    // Wakes the waiter at once; it keeps its fallback.
    void cancel()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_signal.notify_all();
    }

    void wait(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        m_signal.wait_for(lock, timeout, [this] { return m_done; });
        m_done = true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_signal;
    bool m_done = false;
};

MainThreadBridge::MainThreadBridge(QObject* parent)
    : QObject(parent)
{}

MainThreadBridge::~MainThreadBridge() = default;

void MainThreadBridge::setDelegate(HTTPAPIServerDelegate* delegate)
{
    m_delegate.set(delegate);
}

void MainThreadBridge::post(std::function<void(HTTPAPIServerDelegate*)> work, std::chrono::milliseconds delay)
{
    // The bridge is the context of every hop, so work queued by a bridge that is gone never runs.
    QMetaObject::invokeMethod(
        this,
        [this, work = std::move(work), delay] {
            if (delay.count() <= 0) {
                work(m_delegate.get());
                return;
            }
            QTimer::singleShot(delay, this, [this, work] { work(m_delegate.get()); });
        },
        Qt::QueuedConnection);
}

void MainThreadBridge::postStoreChange(std::function<void()> change)
{
    bool first = false;
    {
        std::lock_guard lock(m_mutex);
        first = m_storeChanges.empty();
        m_storeChanges.push_back(std::move(change));
        ++m_pendingChanges;
    }
    if (first)
        QMetaObject::invokeMethod(this, &MainThreadBridge::runStoreChanges, Qt::QueuedConnection);
}

void MainThreadBridge::runStoreChanges()
{
    Q_ASSERT(QThread::currentThread() == thread());
    // A change that stops the server would come back here; what it would run is left to the next turn, in order.
    if (m_runningStoreChanges)
        return;
    // Only what is queued now: changes that arrive meanwhile get a turn of their own, so that clients that never
    // pause cannot keep the event loop from the rest of its work.
    std::vector<std::function<void()>> changes;
    {
        std::lock_guard lock(m_mutex);
        changes.swap(m_storeChanges);
    }
    m_runningStoreChanges = true;
    for (const auto& change : changes)
        change();
    m_runningStoreChanges = false;
    {
        std::lock_guard lock(m_mutex);
        m_pendingChanges -= int(changes.size());
    }
    m_changesDone.notify_all();
}

void MainThreadBridge::waitForStoreChanges()
{
    std::unique_lock lock(m_mutex);
    m_changesDone.wait_for(lock, StateTimeout, [this] { return m_pendingChanges == 0 || m_stopped; });
}

void MainThreadBridge::runAndWait(std::chrono::milliseconds timeout, std::function<Store(HTTPAPIServerDelegate*)> work)
{
    Q_ASSERT(QThread::currentThread() != thread()); // the main thread would only wait for itself
    const auto waiter = std::make_shared<Waiter>();
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped)
            return;
        m_waiters.push_back(waiter);
    }
    QMetaObject::invokeMethod(
        this,
        [this, waiter, work = std::move(work)] {
            if (const Store store = work(m_delegate.get()))
                waiter->put(store);
        },
        Qt::QueuedConnection);
    waiter->wait(timeout);
    std::lock_guard lock(m_mutex);
    std::erase_if(m_waiters, [&](const std::weak_ptr<Waiter>& weak) {
        const auto other = weak.lock();
        return !other || other == waiter;
    });
}

void MainThreadBridge::setStopped(bool stopped)
{
    std::vector<std::weak_ptr<Waiter>> waking;
    {
        std::lock_guard lock(m_mutex);
        m_stopped = stopped;
        if (stopped)
            waking = std::exchange(m_waiters, {});
    }
    for (const auto& weak : waking)
        if (const auto waiter = weak.lock())
            waiter->cancel();
    m_changesDone.notify_all();
}
