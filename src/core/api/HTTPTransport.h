#pragma once

#include "core/api/HTTPConnection.h"

#include <QObject>
#include <QStringList>

#include <vector>

class QTcpServer;

// The listening sockets and the open connections. Lives on the server thread, whose event loop handles one
// request at a time. Knows nothing about routes: each whole request goes to the responder.
class HTTPTransport : public QObject {
    Q_OBJECT

public:
    // Open connections at most. Peers on the network (only reachable with an API token set) share all but
    // LoopbackReserve of them, at most MaxConnectionsPerNetworkPeer from one address, and must send their header
    // block within NetworkHeadDeadlineMs: idle connections from one address (an IPv6 /64 counts as one), or a few,
    // cannot lock this machine's programs out, nor another peer that has the token.
    static constexpr int MaxConnections = 32;
    static constexpr int LoopbackReserve = 8;
    static constexpr int MaxConnectionsPerNetworkPeer = 4;
    static constexpr int NetworkHeadDeadlineMs = 3000;

    struct ListenResult {
        bool ok = false;
        QString error;
        QStringList addresses; // where it listens, "127.0.0.1:9876" or "[::1]:9876" or "*:9876"
    };

    explicit HTTPTransport(HTTPConnection::Responder responder, QObject* parent = nullptr);
    ~HTTPTransport() override;

    // Both on the server thread. loopbackOnly listens on 127.0.0.1 and ::1, otherwise on every interface.
    ListenResult listen(quint16 port, bool loopbackOnly);
    void close();

    int openConnections() const { return static_cast<int>(m_connections.size()); }

signals:
    // A listener stopped accepting; it stays closed until the next listen.
    void listenerFailed(const QString& description);

private:
    void acceptFrom(QTcpServer* listener);
    void dropConnection(HTTPConnection* connection);

    struct Open {
        HTTPConnection* connection; // child
        QHostAddress peer;          // as the per-peer limit counts it
        bool loopback;
    };
    bool admits(const QHostAddress& peer, bool loopback) const;

    HTTPConnection::Responder m_responder;
    std::vector<QTcpServer*> m_listeners; // children
    std::vector<Open> m_connections;
};
