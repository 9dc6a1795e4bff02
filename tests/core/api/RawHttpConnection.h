#pragma once

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

#include <functional>

// One answer as it came off the wire.
struct RawHttpResponse {
    QByteArray statusLine;  // "HTTP/1.1 200 OK"
    QByteArray headerBlock; // status line, header lines and the blank line, exactly as sent
    QByteArray body;

    // From raw bytes; a response without a blank line leaves everything empty.
    static RawHttpResponse parse(const QByteArray& raw);
    int status() const { return statusLine.mid(9, 3).toInt(); }
    nlohmann::json json() const;
};

// A blocking TCP client speaking raw bytes, for the test's helper thread: the server thread and the test's
// main thread (where the server's main-thread work runs) must both stay free while it waits.
class RawHttpConnection {
public:
    // Connects to a numeric IPv4 or IPv6 address; isOpen() tells whether it worked.
    explicit RawHttpConnection(quint16 port, const QString& address = QStringLiteral("127.0.0.1"));
    ~RawHttpConnection();
    RawHttpConnection(const RawHttpConnection&) = delete;
    RawHttpConnection& operator=(const RawHttpConnection&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void send(const QByteArray& bytes);
    // Reads until the marker has arrived (returns everything read so far), the peer closes, or 15 s pass.
    QByteArray readUntil(const QByteArray& marker);
    // Reads until the peer closes the connection (or resets it, or 15 s pass).
    QByteArray readToEnd() { return readUntil({}); }
    // True when the peer closed within the time without sending anything more.
    bool closedByPeer(int timeoutMs);

private:
    int m_fd = -1;
    QByteArray m_pending;
};

// Runs work on a helper thread while this thread's event loop keeps running, and returns when it is done.
void runOffMainThread(const std::function<void()>& work);

// The whole exchange of one request on a fresh connection, on this thread.
RawHttpResponse exchangeHere(quint16 port, const QByteArray& request,
                             const QString& address = QStringLiteral("127.0.0.1"));
