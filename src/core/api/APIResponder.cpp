#include "core/api/APIResponder.h"

#include "core/api/APIRouter.h"
#include "core/api/HTTPAccessPolicy.h"
#include "core/api/HTTPRequest.h"
#include "core/api/HTTPResponse.h"
#include "core/settings/AppSettings.h"

#include <QHostAddress>

APIResponder::APIResponder(const AppSettings& settings, APIRouter& router)
    : m_settings(settings)
    , m_router(router)
{}

QByteArray APIResponder::respond(const HTTPRequest& request, const QHostAddress& peer)
{
    // A refusal grants no web page the right to read it.
    const QByteArray noGrant;
    QByteArray allowOrigin = QByteArrayLiteral("*");
    const QString token = m_settings.apiToken(); // read afresh: a new token applies to the next request
    if (token.isEmpty()) {
        const HTTPAccessPolicy::Decision decision = HTTPAccessPolicy::checkWithoutToken(request, peer);
        if (!decision.allowed)
            return HTTPResponse::error({403, QStringLiteral("Forbidden")}).serialize(noGrant);
        allowOrigin = decision.allowOrigin;
    } else if (!HTTPAccessPolicy::tokenMatches(token, request.header(QStringLiteral("authorization")))) {
        return HTTPResponse::error({401, QStringLiteral("Unauthorized")}).serialize(noGrant);
    }
    return m_router.route(request.method, request.path, request.body).serialize(allowOrigin);
}
