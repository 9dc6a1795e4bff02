// The access rules row by row and the port check, with cases the socket-level tests cannot reach.
#include "api/HTTPAccessPolicy.h"
#include "api/HTTPAPIServer.h"
#include "api/HTTPRequest.h"

#include <QHostAddress>

#include <gtest/gtest.h>

TEST(HTTPAccessPolicy, HostAndOriginNames)
{
    // clang-format off
    const std::vector<std::pair<QString, bool>> hosts = {
        {"localhost", true}, {"LocalHost:9876", true}, {"127.0.0.1", true}, {"127.1.2.3:80", true},
        {"[::1]", true}, {"[::1]:9876", true}, {"::1", false}, {"[::1", false}, {"[::1]x", false},
        {"attacker.example:9876", false}, {"localhost.attacker.example", false}, {"192.168.1.10:9876", false},
        {"0.0.0.0:9876", false}, {"", false},
    };
    const std::vector<std::pair<QString, bool>> origins = {
        {"http://localhost:9876", true}, {"http://127.0.0.1:3000", true}, {"https://localhost", true},
        {"http://[::1]:9876", true}, {"http://attacker.example", false}, {"http://localhost.attacker.example", false},
        {"null", false}, {"file://", false}, {"http://localhost:9876/path", false}, {"http://user@localhost", false},
    };
    // clang-format on
    for (const auto& [host, loopback] : hosts)
        EXPECT_EQ(HTTPAccessPolicy::isLoopbackHost(host), loopback) << qPrintable(host);
    for (const auto& [origin, loopback] : origins)
        EXPECT_EQ(HTTPAccessPolicy::isLoopbackOrigin(origin), loopback) << qPrintable(origin);
}

TEST(HTTPAccessPolicy, DecisionsWithoutToken)
{
    struct Row {
        const char* name;
        std::map<QString, QString> headers;
        QString peer;
        bool allowed;
        QByteArray allowOrigin = "*";
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"IPv4 peer on a dual-stack socket", {}, "::ffff:127.0.0.1", true},
        {"peer on the network", {{"host", "localhost"}}, "192.168.1.20", false},
        {"the docs page itself", {{"origin", "http://localhost:9876"}, {"sec-fetch-site", "same-origin"}}, "127.0.0.1",
         true, "http://localhost:9876"},
        {"typed into the address bar", {{"host", "127.0.0.1:9876"}, {"sec-fetch-site", "none"}}, "127.0.0.1", true},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HTTPRequest request;
        request.headers = row.headers;
        const auto decision = HTTPAccessPolicy::checkWithoutToken(request, QHostAddress(row.peer));
        EXPECT_EQ(decision.allowed, row.allowed);
        if (row.allowed) {
            EXPECT_EQ(decision.allowOrigin, row.allowOrigin);
        }
    }
}

TEST(HTTPAPIServer, ValidPortBoundaries)
{
    EXPECT_EQ(HTTPAPIServer::validPort(65535, nullptr), quint16(65535));
    EXPECT_FALSE(HTTPAPIServer::validPort(65536, nullptr)) << "must not wrap around to port 0";
}
