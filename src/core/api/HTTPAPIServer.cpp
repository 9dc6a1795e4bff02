#include "core/api/HTTPAPIServer.h"

#include "core/api/APIRouter.h"
#include "core/api/HTTPAPIServerDelegate.h"
#include "core/api/HTTPAccessPolicy.h"
#include "core/api/HTTPRequestParser.h"
#include "core/api/HTTPResponse.h"
#include "core/api/HTTPTransport.h"
#include "core/api/ResultCell.h"
#include "core/settings/AppSettings.h"
#include "core/support/Log.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

QString versionText()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("1.0") : version;
}

} // namespace

HTTPAPIServer::HTTPAPIServer(AppSettings& settings, HistoryManager& history, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_history(history)
    , m_version(versionText())
    , m_thread(std::make_unique<QThread>())
    , m_transport(new HTTPTransport(
          [this](const QByteArray& request, const QHostAddress& peer) { return respond(request, peer); }))
    , m_router(std::make_unique<APIRouter>(*this))
{
    m_thread->setObjectName(QStringLiteral("com.quillora.httpapi"));
    m_transport->moveToThread(m_thread.get());
    connect(m_thread.get(), &QThread::finished, m_transport, &QObject::deleteLater);
    connect(m_transport, &HTTPTransport::listenerFailed, this, &HTTPAPIServer::listenerFailed);
    m_thread->start();
}

HTTPAPIServer::~HTTPAPIServer()
{
    // No log line here: the application stops the server itself before it quits.
    setStopping(true);
    m_thread->quit();
    m_thread->wait();
}

void HTTPAPIServer::setStopping(bool stopping)
{
    // While the main thread waits in stop(), it cannot run what a handler waits for: such handlers are woken
    // with their defaults at once, and new ones do not wait.
    {
        std::lock_guard lock(m_waitMutex);
        m_stopping = stopping;
        if (stopping)
            for (const auto& weak : std::exchange(m_waiting, {}))
                if (const auto cell = weak.lock())
                    cell->cancel();
    }
    {
        std::lock_guard lock(m_changesMutex);
        m_changesStopping = stopping;
    }
    m_changesDone.notify_all();
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
    m_port = port;
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
    setStopping(true);
    QMetaObject::invokeMethod(
        m_transport, [this] { m_transport->close(); }, Qt::BlockingQueuedConnection);
    setStopping(false);
    m_running = false;
    qCInfo(lcApi).noquote() << QStringLiteral("🌐 HTTP API Server stopped");
}

void HTTPAPIServer::listenerFailed(const QString& description)
{
    qCInfo(lcApi).noquote() << QStringLiteral("❌ HTTP API Server failed: ") + description;
    m_running = false;
}

void HTTPAPIServer::setDelegate(HTTPAPIServerDelegate* delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject*>(delegate);
    m_delegateIsObject = !m_delegateObject.isNull();
}

HTTPAPIServerDelegate* HTTPAPIServer::delegate() const
{
    if (m_delegateIsObject && m_delegateObject.isNull())
        return nullptr;
    return m_delegate;
}

void HTTPAPIServer::post(std::function<void(HTTPAPIServerDelegate*)> work, std::chrono::milliseconds delay)
{
    // The server is the context of every hop, so work queued by a server that is gone never runs.
    QMetaObject::invokeMethod(
        this,
        [this, work = std::move(work), delay] {
            if (delay.count() <= 0) {
                work(delegate());
                return;
            }
            QTimer::singleShot(delay, this, [this, work] { work(delegate()); });
        },
        Qt::QueuedConnection);
}

void HTTPAPIServer::postStoreChange(std::function<void()> change)
{
    {
        std::lock_guard lock(m_changesMutex);
        ++m_pendingChanges;
    }
    post([this, change = std::move(change)](HTTPAPIServerDelegate*) {
        change();
        {
            std::lock_guard lock(m_changesMutex);
            --m_pendingChanges;
        }
        m_changesDone.notify_all();
    });
}

void HTTPAPIServer::waitForStoreChanges()
{
    std::unique_lock lock(m_changesMutex);
    m_changesDone.wait_for(lock, StateTimeout, [this] { return m_pendingChanges == 0 || m_changesStopping; });
}

std::any HTTPAPIServer::waitForMainThread(std::any fallback, std::chrono::milliseconds timeout,
                                          std::function<std::optional<std::any>(HTTPAPIServerDelegate*)> work)
{
    const auto cell = std::make_shared<ResultCell>(fallback);
    {
        std::lock_guard lock(m_waitMutex);
        if (m_stopping)
            return fallback;
        m_waiting.push_back(cell);
    }
    QMetaObject::invokeMethod(
        this,
        [this, cell, work = std::move(work)] {
            if (std::optional<std::any> value = work(delegate()))
                cell->put(std::move(*value));
        },
        Qt::QueuedConnection);
    std::any result = cell->waitFor(timeout);
    std::lock_guard lock(m_waitMutex);
    std::erase_if(m_waiting, [&](const std::weak_ptr<ResultCell>& weak) {
        const auto other = weak.lock();
        return !other || other == cell;
    });
    return result;
}

QByteArray HTTPAPIServer::respond(const QByteArray& bytes, const QHostAddress& peer)
{
    auto parsed = HTTPRequestParser::parse(bytes);
    if (const auto* error = std::get_if<HTTPError>(&parsed))
        return HTTPResponse::error(*error).serialize();
    const HTTPRequest& request = std::get<HTTPRequest>(parsed);

    QByteArray allowOrigin = QByteArrayLiteral("*");
    const QString token = m_settings.apiToken(); // read afresh: a new token applies to the next request
    if (token.isEmpty()) {
        const HTTPAccessPolicy::Decision decision = HTTPAccessPolicy::checkWithoutToken(request, peer);
        if (!decision.allowed)
            return HTTPResponse::error({403, QStringLiteral("Forbidden")}).serialize();
        allowOrigin = decision.allowOrigin;
    } else if (!HTTPAccessPolicy::tokenMatches(token, request.header(QStringLiteral("authorization")))) {
        return HTTPResponse::error({401, QStringLiteral("Unauthorized")}).serialize();
    }
    return m_router->route(request.method, request.path, request.body).serialize(allowOrigin);
}
