#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <any>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class APIRouter;
class AppSettings;
class HistoryManager;
class HTTPAPIServerDelegate;
class HTTPTransport;
class QHostAddress;
class QThread;
class ResultCell;

// The local HTTP control server. This object lives on the main thread, where the application starts and stops
// it and where the work the routes hand over runs; the sockets live on the server's own thread
// ("com.quillora.httpapi"), whose event loop takes one request at a time.
//
// Without an API token it listens on the loopback addresses only and serves only this machine (see
// HTTPAccessPolicy); with a token it listens on every interface and asks every request for the token.
class HTTPAPIServer : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 9876;
    static constexpr std::chrono::milliseconds StateTimeout{1000};
    static constexpr std::chrono::milliseconds ScreenshotTimeout{5000};

    HTTPAPIServer(AppSettings& settings, HistoryManager& history, QObject* parent = nullptr);
    ~HTTPAPIServer() override;

    // A stored "apiPort" the server can listen on (1 to 65535), or nothing, with *why set to a line that says
    // why the server is not started.
    static std::optional<quint16> validPort(qint64 value, QString* why);

    // Main thread. start stops any earlier listener first; both write their lines to standard output.
    void start(quint16 port);
    void stop();
    bool isRunning() const { return m_running; }
    // The port given to the last start.
    quint16 port() const { return m_port; }

    // Main thread. Held weakly: an implementer that is a QObject is noticed when it is destroyed.
    void setDelegate(HTTPAPIServerDelegate* delegate);
    HTTPAPIServerDelegate* delegate() const;

    // For the route handlers, on the server thread.
    AppSettings& settings() const { return m_settings; }
    HistoryManager& history() const { return m_history; }
    QString applicationVersion() const { return m_version; }
    // Queues work on the main thread without waiting; it is dropped if the server is destroyed first. The
    // delegate passed in is null when there is none.
    void post(std::function<void(HTTPAPIServerDelegate*)> work,
              std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // A change of the history or the settings, queued like post. The answer does not wait for it, but the reads
    // below do, so a script that adds and then lists sees its own change.
    void postStoreChange(std::function<void()> change);
    // Waits (at most the state time-out) until every store change queued so far has run on the main thread.
    void waitForStoreChanges();
    // Runs work on the main thread and waits up to timeout for its value; the fallback when the time runs out,
    // when the server stops meanwhile, or when the work gives nothing.
    std::any waitForMainThread(std::any fallback, std::chrono::milliseconds timeout,
                               std::function<std::optional<std::any>(HTTPAPIServerDelegate*)> work);

    // The whole answer to one request's bytes: parse, access check, route, frame. Server thread.
    QByteArray respond(const QByteArray& request, const QHostAddress& peer);

private:
    void listenerFailed(const QString& description);
    void setStopping(bool stopping);

    AppSettings& m_settings;
    HistoryManager& m_history;
    const QString m_version;
    std::unique_ptr<QThread> m_thread;
    HTTPTransport* m_transport; // lives on m_thread, deleted when it finishes
    std::unique_ptr<APIRouter> m_router;

    HTTPAPIServerDelegate* m_delegate = nullptr;
    QPointer<QObject> m_delegateObject; // set when the delegate is a QObject, to notice its end
    bool m_delegateIsObject = false;

    std::atomic<bool> m_running{false};
    std::atomic<quint16> m_port{DefaultPort};

    std::mutex m_changesMutex;
    std::condition_variable m_changesDone;
    int m_pendingChanges = 0; // queued store changes that have not run yet
    bool m_changesStopping = false;

    std::mutex m_waitMutex; // guards the two below
    bool m_stopping = false;
    std::vector<std::weak_ptr<ResultCell>> m_waiting;
};
