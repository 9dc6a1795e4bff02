#pragma once

#include <QByteArray>
#include <QString>

class QHostAddress;
struct HTTPRequest;

// Who may talk to the server. With an API token set, whoever presents it. Without one, only programs on this
// machine: the peer must be a loopback address, the Host header must name this machine (a web page whose name
// was rebound to 127.0.0.1 still sends its own name), and a request made by a browser page must come from a
// page served by this machine. Programs that send no Origin and no Sec-Fetch-* headers are unaffected.
class HTTPAccessPolicy {
public:
    struct Decision {
        bool allowed = false;
        // What Access-Control-Allow-Origin names in the answer: the page's own loopback origin, or "*".
        QByteArray allowOrigin = QByteArrayLiteral("*");
    };

    static Decision checkWithoutToken(const HTTPRequest& request, const QHostAddress& peer);

    // "Bearer <token>" against the Authorization value; takes as long whatever byte differs first.
    static bool tokenMatches(const QString& token, const QString& authorization);

    // A peer on this machine's loopback interface, also an IPv4 one on a dual-stack socket (::ffff:127.0.0.1).
    static bool isLoopbackPeer(const QHostAddress& peer);
    static bool isLoopbackHost(const QString& hostHeader);
    static bool isLoopbackOrigin(const QString& origin);
};
