#pragma once

#include "core/support/WeakDelegate.h"

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

class HTTPAPIServerDelegate;

// How the server thread gets work done on the main thread, where the application's delegate lives and the stores
// are changed: work posted without waiting, work whose value the server thread waits for with a time-out, and
// store changes that later reads wait for. Lives on the main thread and holds the delegate weakly; the work
// always runs on the main thread and gets a null delegate when there is none or it is gone.
class MainThreadBridge : public QObject {
    Q_OBJECT

public:
    // How long a handler waits for the main thread: a question about the application's state, a screenshot.
    static constexpr std::chrono::milliseconds StateTimeout{1000};
    static constexpr std::chrono::milliseconds ScreenshotTimeout{5000};

    template <typename T>
    using Work = std::function<std::optional<T>(HTTPAPIServerDelegate*)>;

    explicit MainThreadBridge(QObject* parent = nullptr);
    ~MainThreadBridge() override;

    // Main thread.
    void setDelegate(HTTPAPIServerDelegate* delegate);
    HTTPAPIServerDelegate* delegate() const { return m_delegate.get(); }

    // Any thread. Queues work on the main thread without waiting; it is dropped if the bridge is destroyed first.
    void post(std::function<void(HTTPAPIServerDelegate*)> work,
              std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // A change of the history or the settings, queued like post. The answer does not wait for it, but
    // waitForStoreChanges does, so a script that adds and then lists sees its own change.
    void postStoreChange(std::function<void()> change);

    // Server thread. Waits (at most the state time-out) until every store change queued so far has run.
    void waitForStoreChanges();
    // Main thread. Runs every store change queued so far at once, in order: the server calls it when it stops,
    // so that a change it acknowledged is made even when the program quits before the event loop gets to it.
    void runStoreChanges();
    // Server thread. Runs work on the main thread and waits up to timeout for its value; the fallback when the
    // time runs out, when the bridge is stopped meanwhile, or when the work gives nothing. A later value is dropped.
    template <typename T>
    T waitFor(T fallback, std::chrono::milliseconds timeout, std::type_identity_t<Work<T>> work);

    // Main thread, around a wait of its own for the server thread, which then cannot get what it waits for: stop
    // wakes every wait at once with its fallback and lets new ones return theirs at once, until resume.
    void stop() { setStopped(true); }
    void resume() { setStopped(false); }

private:
    class Waiter;
    // Stores a value the main thread computed; called only while its waiter still waits.
    using Store = std::function<void()>;

    void runAndWait(std::chrono::milliseconds timeout, std::function<Store(HTTPAPIServerDelegate*)> work);
    void setStopped(bool stopped);

    WeakDelegate<HTTPAPIServerDelegate> m_delegate; // main thread only
    bool m_runningStoreChanges = false;             // main thread only

    std::mutex m_mutex; // guards the five below
    std::condition_variable m_changesDone;
    // Queued store changes, run in one go on the main thread: a burst of requests costs one event, not one each.
    std::vector<std::function<void()>> m_storeChanges;
    int m_pendingChanges = 0; // queued store changes that have not finished running
    bool m_stopped = false;
    std::vector<std::weak_ptr<Waiter>> m_waiters;
};

template <typename T>
T MainThreadBridge::waitFor(T fallback, std::chrono::milliseconds timeout, std::type_identity_t<Work<T>> work)
{
    // Written on the main thread only through the waiter, and only while it waits; read once the wait is over.
    const auto value = std::make_shared<std::optional<T>>();
    runAndWait(timeout, [value, work = std::move(work)](HTTPAPIServerDelegate* delegate) -> Store {
        std::optional<T> computed = work(delegate);
        if (!computed)
            return {};
        return [value, computed = std::move(*computed)] { *value = computed; };
    });
    return value->has_value() ? std::move(**value) : std::move(fallback);
}
