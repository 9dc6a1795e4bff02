#pragma once

#include "core/api/HTTPError.h"

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

// One complete answer, framed byte for byte as clients of the server have always seen it: the status line with
// the server's own reason phrases, a fixed header order, Content-Length in bytes and "Connection: close".
// Pure: route handlers build these values and the transport writes the bytes.
class HTTPResponse {
public:
    enum class Kind { JSON, PNG, HTML, JSONText, Preflight, File };

    static HTTPResponse json(int status, const nlohmann::json& object);
    // Every refusal and failure goes out through here: {"error": message} under its status.
    static HTTPResponse error(const HTTPError& error);
    static HTTPResponse png(const QByteArray& bytes);
    static HTTPResponse html(const QString& text);
    static HTTPResponse jsonText(const QString& text);
    static HTTPResponse preflight();
    // A file the documentation page loads (a script, a stylesheet), same-origin like the page.
    static HTTPResponse file(const QByteArray& bytes, const QByteArray& contentType);

    // The interim answer to "Expect: 100-continue", written before the body is read.
    static QByteArray continueInterim();
    static QByteArray reasonPhrase(int status);

    Kind kind() const { return m_kind; }
    int status() const { return m_status; }
    const QByteArray& body() const { return m_body; }

    // The bytes on the wire. allowOrigin is what Access-Control-Allow-Origin names; empty: the answer has no such
    // line (the HTML page and the refusals of access).
    QByteArray serialize(const QByteArray& allowOrigin = QByteArrayLiteral("*")) const;

private:
    HTTPResponse(Kind kind, int status, QByteArray body, QByteArray contentType = QByteArray());

    Kind m_kind;
    int m_status;
    QByteArray m_body;
    QByteArray m_contentType;
};
