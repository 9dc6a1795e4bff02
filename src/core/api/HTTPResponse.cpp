#include "core/api/HTTPResponse.h"

#include "core/api/APIRouter.h"

namespace {

// Browsers read the allowed methods from the preflight only. The preflight's are taken from the route table, so that
// it never turns away a method a route answers; the JSON answers keep the line they have always carried.
const QByteArray jsonAllowMethods =
    QByteArrayLiteral("Access-Control-Allow-Methods: GET, POST, PUT, DELETE, OPTIONS\r\n");

const QByteArray& preflightAllowMethods()
{
    static const QByteArray line =
        QByteArrayLiteral("Access-Control-Allow-Methods: ") + APIRouter::allowedMethods() + QByteArrayLiteral("\r\n");
    return line;
}

const QByteArray allowHeaders = QByteArrayLiteral("Access-Control-Allow-Headers: Content-Type, Authorization\r\n");
const QByteArray connectionClose = QByteArrayLiteral("Connection: close\r\n\r\n");

QByteArray contentLength(const QByteArray& body)
{
    return QByteArrayLiteral("Content-Length: ") + QByteArray::number(body.size()) + QByteArrayLiteral("\r\n");
}

// No line at all for an empty origin: the answer grants no page the right to read it.
QByteArray allowOriginLine(const QByteArray& origin)
{
    if (origin.isEmpty())
        return QByteArray();
    return QByteArrayLiteral("Access-Control-Allow-Origin: ") + origin + QByteArrayLiteral("\r\n");
}

} // namespace

HTTPResponse::HTTPResponse(Kind kind, int status, QByteArray body, QByteArray contentType)
    : m_kind(kind)
    , m_status(status)
    , m_body(std::move(body))
    , m_contentType(std::move(contentType))
{}

HTTPResponse HTTPResponse::json(int status, const nlohmann::json& object)
{
    // Texts that are not valid UTF-8 are written with replacement characters rather than failing the answer.
    const std::string text = object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    return HTTPResponse(Kind::JSON, status, QByteArray::fromStdString(text));
}

HTTPResponse HTTPResponse::error(const HTTPError& error)
{
    return json(error.status, {{"error", error.message.toStdString()}});
}

HTTPResponse HTTPResponse::png(const QByteArray& bytes)
{
    return HTTPResponse(Kind::PNG, 200, bytes);
}

HTTPResponse HTTPResponse::html(const QString& text)
{
    return HTTPResponse(Kind::HTML, 200, text.toUtf8());
}

HTTPResponse HTTPResponse::jsonText(const QString& text)
{
    return HTTPResponse(Kind::JSONText, 200, text.toUtf8());
}

HTTPResponse HTTPResponse::preflight()
{
    return HTTPResponse(Kind::Preflight, 204, QByteArray());
}

HTTPResponse HTTPResponse::file(const QByteArray& bytes, const QByteArray& contentType)
{
    return HTTPResponse(Kind::File, 200, bytes, contentType);
}

QByteArray HTTPResponse::continueInterim()
{
    return QByteArrayLiteral("HTTP/1.1 100 Continue\r\n\r\n");
}

QByteArray HTTPResponse::reasonPhrase(int status)
{
    // Every status this server sends, with the phrase HTTP gives it.
    switch (status) {
    case 100:
        return QByteArrayLiteral("Continue");
    case 200:
        return QByteArrayLiteral("OK");
    case 201:
        return QByteArrayLiteral("Created");
    case 204:
        return QByteArrayLiteral("No Content");
    case 400:
        return QByteArrayLiteral("Bad Request");
    case 401:
        return QByteArrayLiteral("Unauthorized");
    case 403:
        return QByteArrayLiteral("Forbidden");
    case 404:
        return QByteArrayLiteral("Not Found");
    case 411:
        return QByteArrayLiteral("Length Required");
    case 413:
        return QByteArrayLiteral("Content Too Large");
    case 429:
        return QByteArrayLiteral("Too Many Requests");
    case 431:
        return QByteArrayLiteral("Request Header Fields Too Large");
    case 500:
        return QByteArrayLiteral("Internal Server Error");
    default:
        return QByteArrayLiteral("Unknown");
    }
}

QByteArray HTTPResponse::serialize(const QByteArray& allowOrigin) const
{
    QByteArray head;
    switch (m_kind) {
    case Kind::JSON:
        head = QByteArrayLiteral("HTTP/1.1 ") + QByteArray::number(m_status) + ' ' + reasonPhrase(m_status) +
               QByteArrayLiteral("\r\nContent-Type: application/json\r\n") + contentLength(m_body) +
               allowOriginLine(allowOrigin) + jsonAllowMethods + allowHeaders + connectionClose;
        break;
    case Kind::PNG:
        head = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n") + contentLength(m_body) +
               allowOriginLine(allowOrigin) + connectionClose;
        break;
    case Kind::HTML:
        head = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n") +
               contentLength(m_body) + connectionClose;
        break;
    case Kind::JSONText:
        head = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n") + contentLength(m_body) +
               allowOriginLine(allowOrigin) + connectionClose;
        break;
    case Kind::File:
        head = QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: ") + m_contentType + QByteArrayLiteral("\r\n") +
               contentLength(m_body) + connectionClose;
        break;
    case Kind::Preflight:
        return QByteArrayLiteral("HTTP/1.1 204 No Content\r\n") + allowOriginLine(allowOrigin) +
               preflightAllowMethods() + allowHeaders + connectionClose;
    }
    return head + m_body;
}
