#include "ServerFixture.h"

#include <QNetworkInterface>
#include <QTcpServer>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

RawHttpResponse RawHttpResponse::parse(const QByteArray& raw)
{
    const qsizetype blank = raw.indexOf("\r\n\r\n");
    if (blank < 0)
        return {};
    return {raw.left(raw.indexOf("\r\n")), raw.left(blank + 4), raw.mid(blank + 4)};
}

RawHttpConnection::RawHttpConnection(quint16 port, const QString& address)
{
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(address.toLatin1().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return;
    m_fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const timeval timeout{15, 0}; // for each read
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (m_fd >= 0 && ::connect(m_fd, found->ai_addr, found->ai_addrlen) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    ::freeaddrinfo(found);
}

RawHttpConnection::~RawHttpConnection()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void RawHttpConnection::send(const QByteArray& bytes)
{
    // Stops at the first failure: the server may have answered and closed early (a refused body).
    for (qsizetype sent = 0, n = 0; m_fd >= 0 && sent < bytes.size(); sent += n) {
        n = ::send(m_fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return;
    }
}

QByteArray RawHttpConnection::readUntil(const QByteArray& marker)
{
    QByteArray read;
    char buffer[65536];
    ssize_t n = 0; // stops when the peer closes or resets, or nothing comes in time
    while ((marker.isEmpty() || !read.contains(marker)) && (n = ::recv(m_fd, buffer, sizeof buffer, 0)) > 0)
        read.append(buffer, n);
    return read;
}

bool RawHttpConnection::closedByPeer(int timeoutMs)
{
    pollfd p{m_fd, POLLIN, 0};
    char byte;
    return ::poll(&p, 1, timeoutMs) > 0 && ::recv(m_fd, &byte, 1, MSG_PEEK) <= 0;
}

void runOffMainThread(const std::function<void()>& work)
{
    std::atomic<bool> done{false};
    std::thread helper([&] {
        work();
        done = true;
        // Wakes the loop below, which sleeps until an event arrives.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    helper.join();
}

RawHttpResponse exchangeHere(quint16 port, const QByteArray& request, const QString& address)
{
    RawHttpConnection connection(port, address);
    connection.send(request);
    return RawHttpResponse::parse(connection.readUntil());
}

void ServerFixture::SetUp()
{
    server.setDelegate(&delegate);
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
    }
    server.start(port);
    ASSERT_TRUE(server.isRunning());
}

RawHttpResponse ServerFixture::send(const QByteArray& bytes, const QString& address)
{
    RawHttpResponse response;
    runOffMainThread([&] { response = exchangeHere(port, bytes, address); });
    return response;
}

QString ServerFixture::networkAddress()
{
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (!address.isLoopback() && address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return QString();
}

QByteArray ServerFixture::request(const QByteArray& method, const QByteArray& path, const QByteArray& body,
                                  const QByteArray& extraHeaders)
{
    QByteArray text = method + ' ' + path + " HTTP/1.1\r\nHost: localhost\r\n" + extraHeaders;
    if (!body.isEmpty())
        text += "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
    return text + "\r\n" + body;
}
