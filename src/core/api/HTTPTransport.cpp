#include "core/api/HTTPTransport.h"

#include "core/api/HTTPAccessPolicy.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <utility>

namespace {

// What the per-peer limit counts by: an IPv4 address (also one arriving on a dual-stack socket), or the /64 network
// of an IPv6 address, since a single host is commonly given a whole /64 to pick addresses from.
QHostAddress peerKey(const QHostAddress& address)
{
    bool isIPv4 = false;
    if (const quint32 v4 = address.toIPv4Address(&isIPv4); isIPv4)
        return QHostAddress(v4);
    Q_IPV6ADDR bytes = address.toIPv6Address();
    for (int i = 8; i < 16; ++i)
        bytes[i] = 0;
    return QHostAddress(bytes);
}

} // namespace

HTTPTransport::HTTPTransport(HTTPConnection::Responder responder, QObject* parent)
    : QObject(parent)
    , m_responder(std::move(responder))
{}

HTTPTransport::~HTTPTransport()
{
    close();
}

HTTPTransport::ListenResult HTTPTransport::listen(quint16 port, bool loopbackOnly)
{
    close();
    ListenResult result;
    const auto open = [&](const QHostAddress& address, const QString& label) -> QString {
        auto* listener = new QTcpServer(this);
        if (!listener->listen(address, port)) {
            const QString error = listener->errorString();
            delete listener;
            return error;
        }
        connect(listener, &QTcpServer::newConnection, this, [this, listener] { acceptFrom(listener); });
        connect(listener, &QTcpServer::acceptError, this, [this, listener] {
            for (QTcpServer* each : m_listeners)
                each->pauseAccepting();
            emit listenerFailed(listener->errorString());
        });
        m_listeners.push_back(listener);
        result.addresses << label.arg(port);
        return QString();
    };

    if (!loopbackOnly) {
        result.error = open(QHostAddress::Any, QStringLiteral("*:%1"));
    } else {
        // IPv4 loopback is required: "localhost" reaches it first on most machines. A machine without IPv6 only
        // loses the ::1 listener.
        result.error = open(QHostAddress::LocalHost, QStringLiteral("127.0.0.1:%1"));
        if (result.error.isEmpty())
            open(QHostAddress::LocalHostIPv6, QStringLiteral("[::1]:%1"));
    }
    result.ok = result.error.isEmpty();
    if (!result.ok)
        close();
    return result;
}

void HTTPTransport::close()
{
    for (QTcpServer* listener : std::exchange(m_listeners, {})) {
        listener->close();
        delete listener;
    }
    for (const Open& open : std::exchange(m_connections, {}))
        delete open.connection;
}

bool HTTPTransport::admits(const QHostAddress& peer, bool loopback) const
{
    if (openConnections() >= MaxConnections)
        return false;
    if (loopback)
        return true;
    int network = 0;
    int fromPeer = 0;
    for (const Open& open : m_connections) {
        network += open.loopback ? 0 : 1;
        fromPeer += !open.loopback && open.peer == peer ? 1 : 0;
    }
    return network < MaxConnections - LoopbackReserve && fromPeer < MaxConnectionsPerNetworkPeer;
}

void HTTPTransport::acceptFrom(QTcpServer* listener)
{
    while (QTcpSocket* socket = listener->nextPendingConnection()) {
        const QHostAddress peer = peerKey(socket->peerAddress());
        const bool loopback = HTTPAccessPolicy::isLoopbackPeer(socket->peerAddress());
        if (!admits(peer, loopback)) {
            socket->abort();
            delete socket;
            continue;
        }
        auto* connection = new HTTPConnection(
            socket, m_responder, loopback ? HTTPConnection::RequestDeadlineMs : NetworkHeadDeadlineMs, this);
        connect(connection, &HTTPConnection::finished, this, [this, connection] { dropConnection(connection); });
        m_connections.push_back({connection, peer, loopback});
    }
}

void HTTPTransport::dropConnection(HTTPConnection* connection)
{
    const auto it = std::find_if(m_connections.begin(), m_connections.end(),
                                 [connection](const Open& open) { return open.connection == connection; });
    if (it == m_connections.end())
        return;
    m_connections.erase(it);
    // Deferred: this runs inside one of the connection's own signals.
    connection->deleteLater();
}
