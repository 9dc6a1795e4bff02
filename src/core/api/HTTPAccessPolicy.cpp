#include "core/api/HTTPAccessPolicy.h"

#include "core/api/HTTPRequest.h"

#include <QHostAddress>
#include <QUrl>

namespace {

bool isLoopbackName(QString host)
{
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    QHostAddress address;
    return address.setAddress(host) && address.isLoopback();
}

} // namespace

bool HTTPAccessPolicy::isLoopbackPeer(const QHostAddress& peer)
{
    // IPv4 peers of a dual-stack socket arrive as ::ffff:127.0.0.1.
    bool isIPv4 = false;
    const QHostAddress v4(peer.toIPv4Address(&isIPv4));
    return peer.isLoopback() || (isIPv4 && v4.isLoopback());
}

bool HTTPAccessPolicy::isLoopbackHost(const QString& hostHeader)
{
    const QString host = hostHeader.trimmed();
    // "[::1]:9876" and "[::1]" keep their brackets; "127.0.0.1:9876" and "localhost:9876" lose the port.
    if (host.startsWith(u'[')) {
        const qsizetype close = host.indexOf(u']');
        if (close < 0)
            return false;
        const QString rest = host.mid(close + 1);
        if (!rest.isEmpty() && !(rest.startsWith(u':') && rest.size() > 1))
            return false;
        return isLoopbackName(host.left(close + 1));
    }
    const qsizetype colon = host.indexOf(u':');
    return isLoopbackName(colon < 0 ? host : host.left(colon));
}

bool HTTPAccessPolicy::isLoopbackOrigin(const QString& origin)
{
    const QUrl url(origin.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https"))
        return false;
    if (!url.path().isEmpty() || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty())
        return false;
    return isLoopbackName(url.host());
}

HTTPAccessPolicy::Decision HTTPAccessPolicy::checkWithoutToken(const HTTPRequest& request, const QHostAddress& peer)
{
    Decision decision;
    if (!isLoopbackPeer(peer))
        return decision;

    const QString host = request.header(QStringLiteral("host"));
    if (!host.isNull() && !isLoopbackHost(host))
        return decision;
    if (request.header(QStringLiteral("sec-fetch-site")).trimmed().compare(u"cross-site", Qt::CaseInsensitive) == 0)
        return decision;
    const QString origin = request.header(QStringLiteral("origin"));
    if (!origin.isNull()) {
        if (!isLoopbackOrigin(origin))
            return decision;
        decision.allowOrigin = origin.trimmed().toUtf8();
    }
    decision.allowed = true;
    return decision;
}

bool HTTPAccessPolicy::tokenMatches(const QString& token, const QString& authorization)
{
    const QByteArray expected = QByteArrayLiteral("Bearer ") + token.toUtf8();
    const QByteArray provided = authorization.toUtf8();
    // Every byte of the provided value is looked at, whatever matched before, so the time taken does not tell
    // an attacker how long a prefix of the token was right.
    unsigned difference = expected.size() == provided.size() ? 0u : 1u;
    for (qsizetype i = 0; i < provided.size(); ++i) {
        const char e = expected.isEmpty() ? '\0' : expected.at(i % expected.size());
        difference |= static_cast<unsigned char>(e ^ provided.at(i));
    }
    return difference == 0;
}
