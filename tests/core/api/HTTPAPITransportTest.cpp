// The transport and its protections: whole requests, limits, floods, the token, local-only rules, stop.
#include "ServerFixture.h"

#include "core/api/HTTPRequestReader.h"
#include "core/api/HTTPTransport.h"

#include <QElapsedTimer>
#include <QNetworkInterface>

#include <memory>
#include <thread>
#include <vector>

using json = nlohmann::json;
using namespace std::chrono_literals;

using HTTPAPITransport = ServerFixture;

// Malformed, too large, or read differently by the access checks than by a proxy or browser: refused, granting nothing.
TEST_F(HTTPAPITransport, HostileRequests)
{
    const QByteArray get = "GET /status HTTP/1.1\r\n";
    const QByteArray post = "POST /history HTTP/1.1\r\nHost: localhost\r\n";
    const QByteArray foreign = "attacker.example";
    const QByteArray body = R"({"text": "smuggled"})";
    const QByteArray length = "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    const QByteArray badLines = "Lines must end with CR LF";
    const auto headerBlockOf = [](qsizetype total) {
        return "GET /status HTTP/1.1\r\nX: " + QByteArray(total - 29, 'a') + "\r\n\r\n";
    };
    const auto bearer = [&](const QByteArray& token) { return get + "Authorization: Bearer " + token + "\r\n\r\n"; };
    const QByteArray bad = "400 Bad Request", forbidden = "403 Forbidden", unauthorized = "401 Unauthorized";
    // Each row: the request, whether the token "s3cret" is set, the status and error of the refusal.
    // clang-format off
    const std::vector<std::tuple<const char*, QByteArray, bool, QByteArray, const char*>> rows = {
        {"path not UTF-8", "GET /\xc3\x28 HTTP/1.1\r\n\r\n", false, bad, "Invalid request"},
        {"no request line", "HELLO\r\n\r\n", false, bad, "Malformed request"},
        {"header block one byte too large", headerBlockOf(HTTPRequestReader::MaxHeaderBytes + 1), false,
         "431 Request Header Fields Too Large", "Request header too large"},
        {"body announced one byte too large", post + "Content-Length: 1048577\r\n\r\n", false, "413 Content Too Large",
         "Request body too large"},
        {"Content-Length not a number", post + "Content-Length: 1x\r\n\r\n", false, bad, "Invalid Content-Length"},
        {"chunked body", post + "Transfer-Encoding: chunked\r\n\r\n", false, "411 Length Required",
         "Chunked request bodies are not supported: send Content-Length"},
        // A page whose name was rebound to 127.0.0.1.
        {"foreign Host", "GET /history HTTP/1.1\r\nHost: localhost." + foreign + ":" + QByteArray::number(port) + "\r\n\r\n", false,
         forbidden, "Forbidden"},
        // A page of another site posting a "simple" request that needs no preflight.
        {"cross-site simple POST", post + "Origin: http://localhost." + foreign + "\r\nContent-Type: text/plain\r\n" + length +
         "\r\n" + body, false, forbidden, "Forbidden"},
        {"cross-site fetch", get + "Host: localhost\r\nSec-Fetch-Site: cross-site\r\n\r\n", false, forbidden, "Forbidden"},
        {"Host without a blank after the colon", get + "Host:" + foreign + "\r\n\r\n", false, forbidden, "Forbidden"},
        {"Host after a tab", get + "Host:\t" + foreign + "\r\n\r\n", false, forbidden, "Forbidden"},
        {"blank before the colon", get + "Host : " + foreign + "\r\n\r\n", false, bad, "Invalid header line"},
        {"folded line", get + "Host: localhost\r\nX-A: b\r\n " + foreign + "\r\n\r\n", false, bad, "Folded header lines are not supported"},
        {"bare line feeds", "GET /status HTTP/1.1\nHost: " + foreign + "\n\n", false, bad, badLines},
        {"bare carriage return", get + "X-A: b\rHost: " + foreign + "\r\n\r\n", false, bad, badLines},
        {"second Host", get + "Host: " + foreign + "\r\nHost: localhost\r\n\r\n", false, bad, "Duplicate Host header"},
        {"second Origin", get + "Host: localhost\r\nOrigin: http://" + foreign + "\r\nOrigin: http://localhost\r\n\r\n", false, bad,
         "Duplicate Origin header"},
        {"second Authorization", get + "Authorization: Bearer wrong\r\nauthorization: Bearer s3cret\r\n\r\n", true, bad,
         "Duplicate Authorization header"},
        {"second Content-Length", post + "Content-Length: 0\r\n" + length + "\r\n" + body, false, bad, "Duplicate Content-Length header"},
        {"no method", " " + post + length + "\r\n" + body, false, bad, "Malformed request"},
        {"no token", get + "Host: localhost\r\n\r\n", true, unauthorized, "Unauthorized"},
        {"wrong token from a page of this machine", get + "Authorization: Bearer wrong\r\nOrigin: http://localhost\r\n\r\n", true,
         unauthorized, "Unauthorized"},
        {"the token in another case", bearer("s3creT"), true, unauthorized, "Unauthorized"},
        {"a prefix of the token", bearer("s3cre"), true, unauthorized, "Unauthorized"},
        {"the token and more", bearer("s3cret2"), true, unauthorized, "Unauthorized"},
        {"the header in the body", get + "\r\nAuthorization: Bearer s3cret\r\n", true, unauthorized, "Unauthorized"},
        {"preflight carries no token", request("OPTIONS", "/history"), true, unauthorized, "Unauthorized"},
    };
    // clang-format on
    for (const auto& [name, raw, withToken, statusLine, error] : rows) {
        SCOPED_TRACE(name);
        settings.setApiToken(withToken ? QStringLiteral("s3cret") : QString());
        const RawHttpResponse refused = send(raw);
        EXPECT_EQ(refused.statusLine, "HTTP/1.1 " + statusLine);
        EXPECT_EQ(refused.json(), (json{{"error", error}}));
        const bool accessRefused = refused.status() == 401 || refused.status() == 403;
        EXPECT_FALSE(accessRefused && refused.headerBlock.contains("Access-Control-Allow-Origin"))
            << refused.headerBlock.constData();
    }
    settle();
    EXPECT_EQ(history.count(), 0);

    // Exactly the header limit, and the lines written as HTTP allows them (blanks around the value taken away).
    settings.setApiToken(QString());
    EXPECT_EQ(send(headerBlockOf(HTTPRequestReader::MaxHeaderBytes)).status(), 200);
    settings.setApiToken(QStringLiteral("s3cret"));
    EXPECT_EQ(send(get + "Host:localhost\r\naUtHoRiZaTiOn:\tBearer s3cret \r\n\r\n").status(), 200);
}

TEST_F(HTTPAPITransport, BodiesAcrossReadsAndContinue)
{
    // Expect: 100-continue gets the interim answer, and the body that follows in a later segment is still read.
    QByteArray interim, raw;
    runOffMainThread([&] {
        RawHttpConnection connection(port);
        const QByteArray full = request("POST", "/history", R"({"text": "continued"})", "Expect: 100-continue\r\n");
        const qsizetype headerEnd = full.indexOf("\r\n\r\n") + 4;
        connection.send(full.left(headerEnd));
        interim = connection.readUntil("\r\n\r\n");
        connection.send(full.mid(headerEnd));
        raw = connection.readUntil();
    });
    EXPECT_EQ(interim, "HTTP/1.1 100 Continue\r\n\r\n");
    EXPECT_EQ(RawHttpResponse::parse(raw).status(), 201);

    // A body of exactly the limit is taken; one sending more than socket buffers hold anyway still reads the refusal.
    const QByteArray fits = "{\"text\": \"" + QByteArray(HTTPRequestReader::MaxBodyBytes - 12, 'x') + "\"}";
    EXPECT_EQ(send(request("POST", "/history", fits)).status(), 201);
    EXPECT_EQ(send(request("POST", "/history", fits + QByteArray(15 * 1024 * 1024, ' '))).status(), 413);
    settle();
    ASSERT_EQ(history.count(), 2);
    EXPECT_EQ(history.entriesSnapshot().at(1).text, QStringLiteral("continued"));
}

// A local client that sends its request head a byte at a time runs into the head's deadline: a timer that each byte
// restarted would let a few such clients hold every connection.
TEST_F(HTTPAPITransport, ATricklingClientIsDroppedWhileOthersAreServed)
{
    bool tricklerDropped = false; // only when the server closed the connection without sending anything
    RawHttpResponse servedMeanwhile;
    runOffMainThread([&] {
        std::thread trickler([&] {
            RawHttpConnection connection(port);
            const QByteArray text = "GET /status HTTP/1.1\r\nX-Slow: " + QByteArray(100, 'a');
            for (qsizetype i = 0; i < text.size() && !tricklerDropped; ++i) {
                connection.send(text.mid(i, 1));
                tricklerDropped = connection.closedByPeer(500);
            }
        });
        std::this_thread::sleep_for(1000ms);
        servedMeanwhile = exchangeHere(port, request("GET", "/status"));
        trickler.join();
    });
    EXPECT_EQ(servedMeanwhile.json()["status"], "running") << "served while the trickler was still connected";
    EXPECT_TRUE(tricklerDropped);
}

TEST_F(HTTPAPITransport, WithoutATokenOnlyThisMachineIsServedWithOneTheNetworkToo)
{
    EXPECT_EQ(send(request("GET", "/status"), QStringLiteral("::1")).status(), 200);
    // A page served by this machine gets its own origin back.
    const RawHttpResponse local = send(request("GET", "/status", {}, "Origin: http://localhost:3000\r\n"));
    EXPECT_EQ(local.status(), 200);
    EXPECT_TRUE(local.headerBlock.contains("\r\nAccess-Control-Allow-Origin: http://localhost:3000\r\n"));
    const QString lan = networkAddress();
    if (!lan.isEmpty())
        runOffMainThread([&] { EXPECT_FALSE(RawHttpConnection(port, lan).isOpen()) << qPrintable(lan); });

    settings.setApiToken(QStringLiteral("s3cret"));
    server.start(port);
    // With a token, a foreign Host is the token's business.
    EXPECT_EQ(send("GET /status HTTP/1.1\r\nHost: attacker.example\r\nAuthorization: Bearer s3cret\r\n\r\n").status(),
              200);
    // The token removed while listening everywhere: this machine (IPv4 on the dual-stack socket) is served, not the
    // LAN.
    settings.setApiToken(QString());
    EXPECT_EQ(get("/status").status(), 200);
    if (lan.isEmpty())
        GTEST_SKIP() << "no network address to reach the server from";
    EXPECT_EQ(send(request("GET", "/status"), lan).json(), (json{{"error", "Forbidden"}}));
    settings.setApiToken(QStringLiteral("s3cret"));
    EXPECT_EQ(send(request("GET", "/status", {}, "Authorization: Bearer s3cret\r\n"), lan).status(), 200);
}

// Idle connections from one network peer (a token set) lock out neither this machine nor another peer, and are dropped.
TEST_F(HTTPAPITransport, AFloodFromTheNetworkLocksNobodyOut)
{
    const QString flooder = networkAddress();
    if (flooder.isEmpty())
        GTEST_SKIP() << "no network address to flood from";
    QString other; // another address of this machine, to be a second peer on the network
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (!address.isLoopback() && !address.isLinkLocal() && address.toString() != flooder)
            other = address.toString();
    settings.setApiToken(QStringLiteral("s3cret"));
    server.start(port);
    const QByteArray authorized = request("GET", "/status", {}, "Authorization: Bearer s3cret\r\n");
    const qint64 deadline = HTTPTransport::NetworkHeadDeadlineMs + 2000;
    int heldOpen = 0, droppedInTime = 0;
    RawHttpResponse local, fromOther, fromFlooder;
    runOffMainThread([&] {
        std::vector<std::unique_ptr<RawHttpConnection>> flood;
        for (int i = 0; i < HTTPTransport::MaxConnections + 8; ++i) {
            flood.push_back(std::make_unique<RawHttpConnection>(port, flooder));
            flood.back()->send("GET /status HTTP/1.1\r\n"); // and never the rest
        }
        QElapsedTimer clock;
        clock.start();
        local = exchangeHere(port, authorized);
        fromOther = other.isEmpty() ? local : exchangeHere(port, authorized, other);
        for (auto& connection : flood)
            heldOpen += connection->closedByPeer(100) ? 0 : 1;
        for (auto& connection : flood)
            droppedInTime += connection->closedByPeer(int(deadline)) && clock.elapsed() < deadline;
        fromFlooder = exchangeHere(port, authorized, flooder);
    });
    EXPECT_EQ(local.status(), 200);
    EXPECT_EQ(fromOther.status(), 200) << qPrintable(other);
    EXPECT_EQ(heldOpen, HTTPTransport::MaxConnectionsPerNetworkPeer);
    EXPECT_EQ(droppedInTime, HTTPTransport::MaxConnections + 8)
        << "the flood's connections are closed after the head deadline";
    EXPECT_EQ(fromFlooder.status(), 200) << "the flooding address is served again once its connections are gone";
}

TEST_F(HTTPAPITransport, ATakenPortAndStop)
{
    HTTPAPIServer other(settings, history);
    other.start(port);
    EXPECT_FALSE(other.isRunning());

    // A handler waiting for the main thread, which is in stop(), is woken at once with its default.
    delegate.sidebarVisible = true;
    RawHttpResponse sidebar;
    std::thread client([&] { sidebar = exchangeHere(port, request("GET", "/sidebar")); });
    std::this_thread::sleep_for(200ms);
    QElapsedTimer stopping;
    stopping.start();
    server.stop();
    EXPECT_LT(stopping.elapsed(), 500);
    client.join();
    EXPECT_EQ(sidebar.json(), (json{{"visible", false}}));
    runOffMainThread([&] { EXPECT_FALSE(RawHttpConnection(port).isOpen()); });
}
