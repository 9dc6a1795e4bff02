#include "core/api/HTTPTransport.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <utility>

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
    for (HTTPConnection* connection : std::exchange(m_connections, {}))
        delete connection;
}

void HTTPTransport::acceptFrom(QTcpServer* listener)
{
    while (QTcpSocket* socket = listener->nextPendingConnection()) {
        if (openConnections() >= MaxConnections) {
            socket->abort();
            delete socket;
            continue;
        }
        auto* connection = new HTTPConnection(socket, m_responder, this);
        connect(connection, &HTTPConnection::finished, this, [this, connection] { dropConnection(connection); });
        m_connections.push_back(connection);
    }
}

void HTTPTransport::dropConnection(HTTPConnection* connection)
{
    const auto it = std::find(m_connections.begin(), m_connections.end(), connection);
    if (it == m_connections.end())
        return;
    m_connections.erase(it);
    // Deferred: this runs inside one of the connection's own signals.
    connection->deleteLater();
}
