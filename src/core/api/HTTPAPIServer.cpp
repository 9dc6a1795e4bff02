#include "core/api/HTTPAPIServer.h"

#include "core/api/APIResponder.h"
#include "core/api/APIRouter.h"
#include "core/api/HTTPTransport.h"
#include "core/api/InputAutomation.h"
#include "core/api/MainThreadBridge.h"
#include "core/settings/AppSettings.h"
#include "core/support/Log.h"

#include <QCoreApplication>
#include <QThread>

namespace {

QString versionText()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("1.0") : version;
}

} // namespace

HTTPAPIServer::HTTPAPIServer(AppSettings& settings, HistoryManager& history, Desktop desktop, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_bridge(std::make_unique<MainThreadBridge>())
    , m_input(std::make_unique<InputAutomation>(desktop.input, std::move(desktop.primaryGeometry)))
    , m_router(std::make_unique<APIRouter>(*m_bridge, settings, history, versionText(), m_input.get(), desktop.display))
    , m_responder(std::make_unique<APIResponder>(settings, *m_router))
    , m_thread(std::make_unique<QThread>())
    , m_transport(
          new HTTPTransport([responder = m_responder.get()](const HTTPRequest& request, const QHostAddress& peer) {
              return responder->respond(request, peer);
          }))
{
    m_router->setPort(DefaultPort);
    m_thread->setObjectName(QStringLiteral("com.quillora.httpapi"));
    m_transport->moveToThread(m_thread.get());
    connect(m_thread.get(), &QThread::finished, m_transport, &QObject::deleteLater);
    connect(m_transport, &HTTPTransport::listenerFailed, this, &HTTPAPIServer::listenerFailed);
    // Returns once the server thread runs its own event dispatcher. Qt hands the dispatcher's wake-up descriptor
    // to the threads that post to it inside its libraries, where the thread sanitizer cannot see the handover;
    // waiting for the thread here orders its setup before our first call through it in a way the sanitizer sees.
    // At the end the other way round: the finishing thread closes that descriptor, which the quit() of our
    // destructor writes to, so it waits for quit() to have returned. Both are connected before the thread starts,
    // so that its reading of the connections is ordered after their making for the sanitizer too.
    connect(
        m_thread.get(), &QThread::started, m_thread.get(), [this] { m_started.count_down(); }, Qt::DirectConnection);
    connect(
        m_thread.get(), &QThread::finished, m_thread.get(), [this] { m_quitAsked.wait(); }, Qt::DirectConnection);
    m_thread->start();
    // A thread that could not be made never starts; the server then answers nothing, but must not hang here.
    if (m_thread->isRunning())
        m_started.wait();
}

HTTPAPIServer::~HTTPAPIServer()
{
    // No log line here: the application stops the server itself before it quits.
    m_bridge->stop();
    m_thread->quit();
    m_quitAsked.count_down();
    m_thread->wait();
}

std::optional<quint16> HTTPAPIServer::validPort(qint64 value, QString* why)
{
    if (value >= 1 && value <= 65535)
        return static_cast<quint16>(value);
    if (why)
        *why = QStringLiteral("⚠️ HTTP API Server not started: port %1 is outside 1-65535").arg(value);
    return std::nullopt;
}

void HTTPAPIServer::start(quint16 port)
{
    stop();
    m_router->setPort(port);
    const bool loopbackOnly = m_settings.apiToken().isEmpty();
    HTTPTransport::ListenResult result;
    QMetaObject::invokeMethod(
        m_transport, [&] { result = m_transport->listen(port, loopbackOnly); }, Qt::BlockingQueuedConnection);
    if (!result.ok) {
        qCInfo(lcApi).noquote() << QStringLiteral("❌ Failed to start HTTP API Server: ") + result.error;
        return;
    }
    m_running = true;
    qCInfo(lcApi).noquote() << QStringLiteral("🌐 HTTP API Server started on port ") + QString::number(port);
    qCInfo(lcApi).noquote()
        << (loopbackOnly
                ? QStringLiteral("🌐 Listening on %1 only: no API token is set")
                      .arg(result.addresses.join(QStringLiteral(" and ")))
                : QStringLiteral("🌐 Listening on all network interfaces, port %1: an API token is set").arg(port));
}

void HTTPAPIServer::stop()
{
    // While the main thread waits here it cannot run what a handler waits for: such handlers are woken with their
    // fallbacks at once, and new ones do not wait.
    m_bridge->stop();
    QMetaObject::invokeMethod(
        m_transport, [this] { m_transport->close(); }, Qt::BlockingQueuedConnection);
    // No handler runs any more; what they acknowledged is made now, before a quit can drop it.
    m_bridge->runStoreChanges();
    m_bridge->resume();
    m_running = false;
    qCInfo(lcApi).noquote() << QStringLiteral("🌐 HTTP API Server stopped");
}

void HTTPAPIServer::listenerFailed(const QString& description)
{
    qCInfo(lcApi).noquote() << QStringLiteral("❌ HTTP API Server failed: ") + description;
    m_running = false;
}

quint16 HTTPAPIServer::port() const
{
    return m_router->port();
}

void HTTPAPIServer::setDelegate(HTTPAPIServerDelegate* delegate)
{
    m_bridge->setDelegate(delegate);
}

HTTPAPIServerDelegate* HTTPAPIServer::delegate() const
{
    return m_bridge->delegate();
}
