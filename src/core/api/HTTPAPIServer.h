#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

#include <atomic>
#include <functional>
#include <latch>
#include <memory>
#include <optional>

class APIResponder;
class APIRouter;
class AppSettings;
class DisplayCapture;
class HistoryManager;
class HTTPAPIServerDelegate;
class HTTPTransport;
class InputAutomation;
class MainThreadBridge;
class QThread;
class SyntheticInput;

// The local HTTP control server: starts and stops listening, and owns the pieces that answer. This object lives on
// the main thread, where the application starts and stops it and where the work the routes hand over runs (through
// the MainThreadBridge); the sockets live on the server's own thread ("com.quillora.httpapi"), whose event loop
// takes one request at a time: the transport reads and parses it, the APIResponder checks access and routes it.
//
// Without an API token it listens on the loopback addresses only and serves only this machine (see
// HTTPAccessPolicy); with a token it listens on every interface and asks every request for the token.
class HTTPAPIServer : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 9876;

    // The desktop services of the input and screen routes; those routes refuse without them. Both outlive the
    // server. Desktop{} has neither.
    struct Desktop {
        SyntheticInput* input;
        DisplayCapture* display;
        // The primary monitor in Qt's global coordinates; empty: the GUI's primary screen.
        std::function<QRectF()> primaryGeometry;
    };

    HTTPAPIServer(AppSettings& settings, HistoryManager& history, Desktop desktop = {}, QObject* parent = nullptr);
    ~HTTPAPIServer() override;

    // A stored "apiPort" the server can listen on (1 to 65535), or nothing, with *why set to a line that says
    // why the server is not started.
    static std::optional<quint16> validPort(qint64 value, QString* why);

    // Main thread. start stops any earlier listener first; both write their lines to standard output.
    void start(quint16 port);
    void stop();
    bool isRunning() const { return m_running; }
    // The port given to the last start.
    quint16 port() const;

    // Main thread. Held weakly: an implementer that is a QObject is noticed when it is destroyed.
    void setDelegate(HTTPAPIServerDelegate* delegate);
    HTTPAPIServerDelegate* delegate() const;

private:
    void listenerFailed(const QString& description);

    AppSettings& m_settings;
    // The answering side, used on the server thread: destroyed only after that thread has ended.
    const std::unique_ptr<MainThreadBridge> m_bridge;
    const std::unique_ptr<InputAutomation> m_input;
    const std::unique_ptr<APIRouter> m_router;
    const std::unique_ptr<APIResponder> m_responder;
    std::unique_ptr<QThread> m_thread;
    HTTPTransport* m_transport; // lives on m_thread, deleted when it finishes
    std::latch m_started{1};    // counted down on the server thread once its event dispatcher runs
    std::latch m_quitAsked{1};  // counted down once the destructor has asked the thread to quit

    std::atomic<bool> m_running{false};
};
