#include "RawHttpConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <utility>

static constexpr int ReadTimeoutMs = 15000;

RawHttpResponse RawHttpResponse::parse(const QByteArray& raw)
{
    RawHttpResponse response;
    const qsizetype blank = raw.indexOf("\r\n\r\n");
    if (blank >= 0) {
        response.statusLine = raw.left(raw.indexOf("\r\n"));
        response.headerBlock = raw.left(blank + 4);
        response.body = raw.mid(blank + 4);
    }
    return response;
}

nlohmann::json RawHttpResponse::json() const
{
    return nlohmann::json::parse(body.constBegin(), body.constEnd(), nullptr, false);
}

RawHttpConnection::RawHttpConnection(quint16 port, const QString& address)
{
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(address.toLatin1().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return;
    const int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, found->ai_addr, found->ai_addrlen) == 0)
        m_fd = fd;
    else if (fd >= 0)
        ::close(fd);
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
    QElapsedTimer clock;
    clock.start();
    char buffer[65536];
    while (m_fd >= 0 && (marker.isEmpty() || !m_pending.contains(marker)) && clock.elapsed() < ReadTimeoutMs) {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break; // closed or reset
        m_pending.append(buffer, n);
    }
    return std::exchange(m_pending, QByteArray());
}

bool RawHttpConnection::closedByPeer(int timeoutMs)
{
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char byte;
    return ::recv(m_fd, &byte, 1, MSG_PEEK) <= 0;
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
    return RawHttpResponse::parse(connection.readToEnd());
}
