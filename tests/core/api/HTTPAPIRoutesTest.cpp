// Every route of the server against real stores, spoken to in raw HTTP.
#include "ServerFixture.h"
#include "TestStores.h"

#include "core/api/MainThreadBridge.h"
#include "core/api/OpenAPIDocument.h"

#include <QImage>

#include <thread>

using json = nlohmann::json;
using namespace std::chrono_literals;

namespace {

json success(const char* message)
{
    return {{"success", true}, {"message", message}};
}

} // namespace

using HTTPAPIRoutes = ServerFixture;

TEST_F(HTTPAPIRoutes, Status)
{
    delegate.sidebarVisible = true;
    history.addEntry(QStringLiteral("one"), std::nullopt, QImage(), QImage());
    // The query is no part of the path; the rest of the path is compared exactly.
    const json expected = {{"app", "Quillora"}, {"version", "1.0"},       {"status", "running"},
                           {"historyCount", 1}, {"sidebarVisible", true}, {"apiPort", port}};
    EXPECT_EQ(get("/?verbose=%ff&x=1=2?y").json(), expected);
    EXPECT_EQ(get("/Status?x=1").json(), (json{{"error", "Not found"}, {"path", "/Status"}}));
}

TEST_F(HTTPAPIRoutes, HistoryListAddAndDelete)
{
    EXPECT_EQ(send(request("POST", "/history", R"({"text": "Grüße"})")).statusLine, "HTTP/1.1 201 Created");
    EXPECT_EQ(send(request("POST", "/history", R"({"text": "second", "displayName": "Mine"})")).status(), 201);
    settle();

    const QList<HistoryEntry> entries = history.entriesSnapshot();
    ASSERT_EQ(entries.size(), 2);
    const RawHttpResponse listed = get("/history?ignored=1");
    // Content-Length counts the bytes of the non-ASCII text.
    EXPECT_EQ(listed.headerBlock,
              "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                  QByteArray::number(listed.body.size()) +
                  "\r\nAccess-Control-Allow-Origin: *\r\n"
                  "Access-Control-Allow-Methods: GET, POST, PUT, DELETE, OPTIONS\r\n"
                  "Access-Control-Allow-Headers: Content-Type, Authorization\r\nConnection: close\r\n\r\n");
    const json list = listed.json();
    EXPECT_EQ(list["count"], 2);
    ASSERT_EQ(list["entries"].size(), 2u);
    EXPECT_EQ(list["entries"][0],
              (json{{"id", HistoryEntry::formatId(entries[0].id).toStdString()},
                    {"text", "second"},
                    {"displayName", "Mine"},
                    {"timestamp", HistoryEntry::formatTimestamp(entries[0].timestamp).toStdString()}}));
    EXPECT_EQ(list["entries"][1]["text"], "Grüße");

    for (const char* body : {R"({"text": ""})", R"({"text": 5})", "[\"text\"]"}) {
        const RawHttpResponse refused = send(request("POST", "/history", body));
        EXPECT_EQ(refused.status(), 400) << body;
        EXPECT_EQ(refused.json(), (json{{"error", "Missing 'text' field"}})) << body;
    }

    // Deleting by a lower-case id finds the upper-case one.
    const QByteArray lowerId = HistoryEntry::formatId(entries[1].id).toLower().toUtf8();
    EXPECT_EQ(send(request("DELETE", "/history/" + lowerId)).json(), success("Entry deleted"));
    EXPECT_EQ(send(request("DELETE", "/history/" + lowerId)).json(), (json{{"error", "Entry not found"}}));
    settle();
    EXPECT_EQ(textsOf(history.entries()), QStringList{QStringLiteral("second")});
}

TEST_F(HTTPAPIRoutes, SettingsReadAndUpdate)
{
    settings.setApiEnabled(true);
    const json before = get("/settings").json();
    EXPECT_EQ(before.size(), 9u) << before.dump(); // and the token is not among them

    // 10.0 is a whole number; wrong types, negative counts and other keys are listed; the rest is one write.
    const QByteArray changes = R"({"historyMaxEntries": 10.0, "removeLineBreaks": true, "historyEnabled": 0,
        "fixHyphenation": "false", "historyAutoDeleteDays": 1.5, "apiPort": 1234, "apiEnabled": false, "apiToken": "x",
        "copyToPrimarySelection": false, "unknown": [1]})";
    defaults.clearWrites();
    json answer = success("Settings updated");
    answer["ignored"] = {"apiEnabled",     "apiPort", "apiToken", "fixHyphenation", "historyAutoDeleteDays",
                         "historyEnabled", "unknown"};
    EXPECT_EQ(send(request("PATCH", "/settings", changes)).json(), answer);
    settle();
    json after = before;
    after["historyMaxEntries"] = 10;
    after["removeLineBreaks"] = true;
    after["copyToPrimarySelection"] = false;
    EXPECT_EQ(get("/settings").json(), after);
    EXPECT_EQ(settings.apiToken(), QString());
    EXPECT_EQ(defaults.batches(), 1) << "one request's keys are stored together";

    answer["ignored"] = {"historyAutoDeleteDays", "historyMaxEntries"};
    EXPECT_EQ(send(request("PUT", "/settings", R"({"historyMaxEntries": -1, "historyAutoDeleteDays": -7})")).json(),
              answer);
    settle();
    EXPECT_EQ(get("/settings").json(), after);
    EXPECT_EQ(defaults.batches(), 1) << "nothing to store, no write";

    // Nesting that would overflow the parser's stack is refused before it is parsed, well under the size limit.
    for (const int levels : {65, 100000}) {
        const QByteArray deep =
            "{\"historyEnabled\": false, \"x\": " + QByteArray(levels, '[') + QByteArray(levels, ']') + "}";
        const RawHttpResponse tooDeep = send(request("PUT", "/settings", deep));
        EXPECT_EQ(tooDeep.status(), 400) << levels;
        EXPECT_EQ(tooDeep.json(),
                  (json{{"error", "Request body is nested too deeply (JSON allows at most 64 levels here)"}}));
    }
    settle();
    EXPECT_EQ(get("/settings").json(), after);
}

TEST_F(HTTPAPIRoutes, DocumentationPreflightAndUnknownPaths)
{
    const RawHttpResponse document = get("/openapi.json?x=1");
    // The document the validation script checks with an OpenAPI validator.
    EXPECT_EQ(document.body, OpenAPIDocument::text(port).toUtf8());
    // Other names under /docs/ than the page's files, and names that climb out of it, are not found.
    for (const char* path : {"/docs/index.html", "/docs/../openapi.json", "/docs/"})
        EXPECT_EQ(get(path).statusLine, "HTTP/1.1 404 Not Found") << path;

    const RawHttpResponse preflight = send(request("OPTIONS", "/no/such/path"));
    EXPECT_EQ(preflight.headerBlock,
              "HTTP/1.1 204 No Content\r\nAccess-Control-Allow-Origin: *\r\n"
              "Access-Control-Allow-Methods: GET, POST, PUT, PATCH, DELETE, OPTIONS\r\n"
              "Access-Control-Allow-Headers: Content-Type, Authorization\r\nConnection: close\r\n\r\n");
}

TEST_F(HTTPAPIRoutes, WhileTheMainThreadIsBusy)
{
    // A state query gives up after its second; a change is answered at once, and the read after it waits for it.
    delegate.sidebarVisible = true;
    QMetaObject::invokeMethod(
        qApp, [] { std::this_thread::sleep_for(1500ms); }, Qt::QueuedConnection);
    json sidebar, settingsRead;
    runOffMainThread([&] {
        sidebar = exchangeHere(port, request("GET", "/sidebar")).json();
        exchangeHere(port, request("PUT", "/settings", R"({"historyMaxEntries": 3})"));
        settingsRead = exchangeHere(port, request("GET", "/settings")).json();
    });
    EXPECT_EQ(sidebar, (json{{"visible", false}}));
    EXPECT_EQ(settingsRead["historyMaxEntries"], 3);

    // The late answer of the busy main thread is dropped; the next request gets its own.
    settle();
    EXPECT_EQ(get("/sidebar").json(), (json{{"visible", true}}));
}

TEST_F(HTTPAPIRoutes, DelegateGone)
{
    auto gone = std::make_unique<RecordingAPIDelegate>();
    server.setDelegate(gone.get());
    gone.reset();

    EXPECT_EQ(send(request("POST", "/sidebar/toggle")).json(), (json{{"success", true}, {"visible", true}}));
    EXPECT_EQ(send(request("POST", "/capture")).json(), success("Capture initiated"));
    EXPECT_EQ(send(request("POST", "/quit")).json(), success("App quitting"));
    QTest::qWait(700); // the delayed quit finds no delegate and does nothing
}

TEST(MainThreadBridge, WorkOfABridgeThatIsGoneNeverRuns)
{
    bool ran = false;
    {
        MainThreadBridge bridge;
        bridge.post([&](HTTPAPIServerDelegate*) { ran = true; });
        bridge.postStoreChange([&] { ran = true; });
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}
