#include "RawHttpConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

constexpr int ReadTimeoutMs = 15000;

} // namespace

RawHttpResponse RawHttpResponse::parse(const QByteArray& raw)
{
    RawHttpResponse response;
    response.raw = raw;
    const qsizetype blank = raw.indexOf("\r\n\r\n");
    if (blank < 0)
        return response;
    response.headerBlock = raw.left(blank + 4);
    response.body = raw.mid(blank + 4);
    const QList<QByteArray> lines = raw.left(blank).split('\n');
    response.statusLine = lines.first().trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            response.headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
    }
    return response;
}

int RawHttpResponse::status() const
{
    const QList<QByteArray> parts = statusLine.split(' ');
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

QByteArray RawHttpResponse::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return QByteArray();
}

nlohmann::json RawHttpResponse::json() const
{
    return nlohmann::json::parse(body.constBegin(), body.constEnd(), nullptr, false);
}

RawHttpConnection::RawHttpConnection(const QString& address, quint16 port)
{
    sockaddr_storage storage{};
    socklen_t length = 0;
    const QByteArray host = address.toLatin1();
    if (auto* v4 = reinterpret_cast<sockaddr_in*>(&storage); inet_pton(AF_INET, host.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        length = sizeof(sockaddr_in);
    } else if (auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
               inet_pton(AF_INET6, host.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        length = sizeof(sockaddr_in6);
    } else {
        return;
    }
    const int fd = ::socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&storage), length) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

RawHttpConnection::~RawHttpConnection()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RawHttpConnection::send(const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (m_fd >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return m_fd >= 0;
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

QByteArray RawHttpConnection::readToEnd()
{
    return readUntil(QByteArray());
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
    RawHttpConnection connection(address, port);
    if (!connection.isOpen())
        return RawHttpResponse();
    // Read even when sending failed half-way: the server may have answered early (a refused body).
    connection.send(request);
    return RawHttpResponse::parse(connection.readToEnd());
}

RawHttpResponse exchange(quint16 port, const QByteArray& request, const QString& address)
{
    RawHttpResponse response;
    runOffMainThread([&] { response = exchangeHere(port, request, address); });
    return response;
}
