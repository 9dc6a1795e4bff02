#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QUrl>

// What the preferences tell a person about reaching the HTTP API: the server's address, its documentation page and
// a fresh access token.
class APIConnectionInfo {
public:
    // One network interface as far as the address choice needs it.
    struct Interface {
        bool up = false;
        bool running = false;
        bool loopback = false;
        QList<QHostAddress> addresses;
    };

    // The machine's interfaces, in the system's order.
    static QList<Interface> systemInterfaces();
    // The IPv4 address, dotted, of the first interface that is up, running, not the loopback and has one; or
    // "localhost" when there is none.
    static QString localIPv4(const QList<Interface>& interfaces);
    // "http://<host>:<port>/". Without a token the server listens on the loopback only, so only "localhost" reaches
    // it; with one it listens on every interface and the local network reaches it at localIPv4().
    static QString serverURL(const QString& token, qint64 port, const QList<Interface>& interfaces);
    // "http://localhost:<port>/docs".
    static QUrl docsURL(qint64 port);
    // A random UUID from the system's cryptographic source, in upper case: 36 characters, 8-4-4-4-12.
    static QString generateToken();
};
