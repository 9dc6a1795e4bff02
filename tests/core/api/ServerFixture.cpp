#include "ServerFixture.h"

#include <QEventLoop>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTimer>

#include <thread>

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

void ServerFixture::processEventsFor(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

void ServerFixture::occupyMainThread(std::chrono::milliseconds duration)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [duration] { std::this_thread::sleep_for(duration); }, Qt::QueuedConnection);
}
