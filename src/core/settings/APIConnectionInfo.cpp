#include "core/settings/APIConnectionInfo.h"

#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QUuid>

#include <array>

QList<APIConnectionInfo::Interface> APIConnectionInfo::systemInterfaces()
{
    QList<Interface> interfaces;
    for (const QNetworkInterface& system : QNetworkInterface::allInterfaces()) {
        const QNetworkInterface::InterfaceFlags flags = system.flags();
        Interface entry{
            .up = flags.testFlag(QNetworkInterface::IsUp),
            .running = flags.testFlag(QNetworkInterface::IsRunning),
            .loopback = flags.testFlag(QNetworkInterface::IsLoopBack),
            .addresses = {},
        };
        for (const QNetworkAddressEntry& address : system.addressEntries())
            entry.addresses.append(address.ip());
        interfaces.append(entry);
    }
    return interfaces;
}

QString APIConnectionInfo::localIPv4(const QList<Interface>& interfaces)
{
    for (const Interface& interface : interfaces) {
        if (!interface.up || !interface.running || interface.loopback)
            continue;
        for (const QHostAddress& address : interface.addresses)
            if (address.protocol() == QAbstractSocket::IPv4Protocol)
                return address.toString();
    }
    return QStringLiteral("localhost");
}

QString APIConnectionInfo::serverURL(const QString& token, qint64 port, const QList<Interface>& interfaces)
{
    const QString host = token.isEmpty() ? QStringLiteral("localhost") : localIPv4(interfaces);
    return QStringLiteral("http://%1:%2/").arg(host).arg(port);
}

QUrl APIConnectionInfo::docsURL(qint64 port)
{
    return QUrl(QStringLiteral("http://localhost:%1/docs").arg(port));
}

QString APIConnectionInfo::generateToken()
{
    std::array<quint32, 4> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    QByteArray bytes(reinterpret_cast<const char*>(words.data()), 16);
    // Version 4 (random) and the RFC 4122 variant, as any random UUID.
    bytes[6] = char((bytes[6] & 0x0f) | 0x40);
    bytes[8] = char((bytes[8] & 0x3f) | 0x80);
    return QUuid::fromRfc4122(bytes).toString(QUuid::WithoutBraces).toUpper();
}
