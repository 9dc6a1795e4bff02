// Response framing byte for byte, the access rules, the query split and the served OpenAPI text.
#include "api/APIRouter.h"
#include "api/HTTPAPIServer.h"
#include "api/HTTPAccessPolicy.h"
#include "api/HTTPRequest.h"
#include "api/HTTPResponse.h"
#include "api/OpenAPIDocument.h"

#include <QHostAddress>

#include <gtest/gtest.h>

TEST(HTTPResponse, TemplatesByteForByte) {
    const QByteArray cors = "Access-Control-Allow-Methods: GET, POST, PUT, DELETE, OPTIONS\r\n"
                            "Access-Control-Allow-Headers: Content-Type, Authorization\r\n";
    const QByteArray json = HTTPResponse::json(201, {{"success", true}}).serialize();
    EXPECT_EQ(json, "HTTP/1.1 201 Created\r\nContent-Type: application/json\r\nContent-Length: 21\r\n"
                    "Access-Control-Allow-Origin: *\r\n" +
                        cors + "Connection: close\r\n\r\n{\n  \"success\": true\n}");

    // Content-Length counts bytes, not characters.
    const QByteArray html = HTTPResponse::html(QStringLiteral("<p>é✓</p>")).serialize();
    EXPECT_EQ(html, QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: 12\r\n"
                               "Connection: close\r\n\r\n<p>\xc3\xa9\xe2\x9c\x93</p>"));

    EXPECT_EQ(HTTPResponse::png(QByteArray("\x89PNG", 4)).serialize(),
              QByteArray("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: 4\r\n"
                         "Access-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n\x89PNG"));
    EXPECT_EQ(HTTPResponse::jsonText(QStringLiteral("{}")).serialize("http://localhost:3000"),
              QByteArray("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 2\r\n"
                         "Access-Control-Allow-Origin: http://localhost:3000\r\nConnection: close\r\n\r\n{}"));
    EXPECT_EQ(HTTPResponse::preflight().serialize(),
              "HTTP/1.1 204 No Content\r\nAccess-Control-Allow-Origin: *\r\n" + cors + "Connection: close\r\n\r\n");
}

TEST(HTTPResponse, ReasonPhrasesAndErrors) {
    const std::vector<std::pair<int, QByteArray>> rows = {
        {200, "OK"},      {201, "Created"},   {400, "Bad Request"}, {401, "Unauthorized"},
        {403, "Unknown"}, {404, "Not Found"}, {413, "Unknown"},     {500, "Internal Server Error"},
    };
    for (const auto& [status, reason] : rows)
        EXPECT_EQ(HTTPResponse::reasonPhrase(status), reason) << status;

    const HTTPResponse error = HTTPResponse::error({403, QStringLiteral("Forbidden")});
    EXPECT_TRUE(error.serialize().startsWith("HTTP/1.1 403 Unknown\r\n"));
    EXPECT_EQ(nlohmann::json::parse(error.body().toStdString()), (nlohmann::json{{"error", "Forbidden"}}));
}

TEST(HTTPAccessPolicy, HostAndOriginNames) {
    const std::vector<std::pair<QString, bool>> hosts = {
        {"localhost", true},
        {"localhost:9876", true},
        {"LocalHost:9876", true},
        {"127.0.0.1", true},
        {"127.0.0.1:9876", true},
        {"127.1.2.3:80", true},
        {"[::1]", true},
        {"[::1]:9876", true},
        {"::1", false},
        {"attacker.example", false},
        {"attacker.example:9876", false},
        {"localhost.attacker.example", false},
        {"192.168.1.10:9876", false},
        {"[::1", false},
        {"[::1]x", false},
        {"", false},
        {"0.0.0.0:9876", false},
    };
    for (const auto& [host, loopback] : hosts)
        EXPECT_EQ(HTTPAccessPolicy::isLoopbackHost(host), loopback) << qPrintable(host);

    const std::vector<std::pair<QString, bool>> origins = {
        {"http://localhost:9876", true},
        {"http://127.0.0.1:3000", true},
        {"https://localhost", true},
        {"http://[::1]:9876", true},
        {"http://attacker.example", false},
        {"http://localhost.attacker.example", false},
        {"null", false},
        {"file://", false},
        {"http://localhost:9876/path", false},
        {"http://user@localhost", false},
    };
    for (const auto& [origin, loopback] : origins)
        EXPECT_EQ(HTTPAccessPolicy::isLoopbackOrigin(origin), loopback) << qPrintable(origin);
}

TEST(HTTPAccessPolicy, DecisionsWithoutToken) {
    struct Row {
        const char* name;
        std::map<QString, QString> headers;
        QHostAddress peer;
        bool allowed;
        QByteArray allowOrigin;
    };
    const QHostAddress local(QHostAddress::LocalHost);
    const std::vector<Row> rows = {
        {"a script: no Host, no Origin", {}, local, true, "*"},
        {"curl to localhost", {{"host", "localhost:9876"}}, local, true, "*"},
        {"IPv6 loopback peer", {{"host", "[::1]:9876"}}, QHostAddress(QHostAddress::LocalHostIPv6), true, "*"},
        {"IPv4 loopback peer on a dual-stack socket", {}, QHostAddress(QStringLiteral("::ffff:127.0.0.1")), true, "*"},
        {"peer on the network", {{"host", "localhost"}}, QHostAddress(QStringLiteral("192.168.1.20")), false, "*"},
        {"rebound name", {{"host", "attacker.example:9876"}}, local, false, "*"},
        {"page of another site",
         {{"host", "localhost:9876"}, {"origin", "http://attacker.example"}},
         local,
         false,
         "*"},
        {"cross-site fetch without Origin",
         {{"host", "localhost:9876"}, {"sec-fetch-site", "cross-site"}},
         local,
         false,
         "*"},
        {"the docs page itself",
         {{"host", "localhost:9876"}, {"origin", "http://localhost:9876"}, {"sec-fetch-site", "same-origin"}},
         local,
         true,
         "http://localhost:9876"},
        {"typed into the address bar", {{"host", "127.0.0.1:9876"}, {"sec-fetch-site", "none"}}, local, true, "*"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HTTPRequest request;
        request.headers = row.headers;
        const auto decision = HTTPAccessPolicy::checkWithoutToken(request, row.peer);
        EXPECT_EQ(decision.allowed, row.allowed);
        if (row.allowed) {
            EXPECT_EQ(decision.allowOrigin, row.allowOrigin);
        }
    }
}

TEST(HTTPAccessPolicy, TokenComparison) {
    const QString token = QStringLiteral("s3cret");
    EXPECT_TRUE(HTTPAccessPolicy::tokenMatches(token, QStringLiteral("Bearer s3cret")));
    for (const QString& wrong :
         {QStringLiteral("bearer s3cret"), QStringLiteral("Bearer  s3cret"), QStringLiteral("Bearer s3cre"),
          QStringLiteral("Bearer s3cret "), QStringLiteral("Bearer s3creT"), QStringLiteral("s3cret"), QString()})
        EXPECT_FALSE(HTTPAccessPolicy::tokenMatches(token, wrong)) << qPrintable(wrong);
}

TEST(APIRouter, ParseQuery) {
    struct Row {
        const char* name;
        QString path;
        QString routePath;
        std::map<QString, QString> parameters;
    };
    const std::vector<Row> rows = {
        {"no query", "/screen", "/screen", {}},
        {"one parameter", "/screen?maxSize=100", "/screen", {{"maxSize", "100"}}},
        {"percent-decoded, plus kept", "/s?a%20b=c+d%21", "/s", {{"a b", "c+d!"}}},
        {"undecodable text kept raw", "/s?a=%ff", "/s", {{"a", "%ff"}}},
        {"pieces without exactly one '=' dropped", "/s?flag&x=1=2&y=", "/s", {{"y", ""}}},
        {"later duplicate wins", "/s?x=1&x=2", "/s", {{"x", "2"}}},
        {"a second '?' and what follows are dropped", "/s?x=1?y=2", "/s", {{"x", "1"}}},
        {"empty query", "/s?", "/s", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const APIRouter::Query query = APIRouter::parseQuery(row.path);
        EXPECT_EQ(query.routePath, row.routePath);
        EXPECT_EQ(query.parameters, row.parameters);
    }
}

TEST(HTTPAPIServer, ValidPort) {
    QString why;
    EXPECT_EQ(HTTPAPIServer::validPort(1, &why), quint16(1));
    EXPECT_EQ(HTTPAPIServer::validPort(65535, &why), quint16(65535));
    EXPECT_TRUE(why.isEmpty());
    for (const qint64 bad : {qint64(0), qint64(-1), qint64(65536), qint64(1) << 40}) {
        EXPECT_FALSE(HTTPAPIServer::validPort(bad, &why)) << bad;
        EXPECT_TRUE(why.contains(QString::number(bad))) << qPrintable(why);
    }
}

TEST(OpenAPIDocument, PortSplicedIntoValidJson) {
    const QByteArray text = OpenAPIDocument::text(8080).toUtf8();
    const auto document = nlohmann::json::parse(text.constBegin(), text.constEnd(), nullptr, false);
    ASSERT_TRUE(document.is_object());
    EXPECT_EQ(document["servers"][0]["url"], "http://localhost:8080");
    EXPECT_EQ(document["openapi"], "3.0.3");
    EXPECT_EQ(document["info"]["description"], "HTTP API for controlling Quillora - a Linux OCR text capture app");
    for (const char c : text)
        ASSERT_GT(static_cast<signed char>(c), 0) << "the document is plain ASCII";
}
