// The input, window, screenshot and window-opening routes over the socket.
#include "QStringPrinter.h"
#include "ServerFixture.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>

using json = nlohmann::json;

namespace {

QByteArray pngOf(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class HTTPAPIAutomation : public ServerFixture {
protected:
    RawHttpResponse post(const QByteArray& path, const QByteArray& body) { return send(request("POST", path, body)); }
    // Takes what the input sent once it has sent this many events (or 10 s passed), and any more in 100 ms.
    QStringList events(qsizetype count)
    {
        QElapsedTimer waited;
        waited.start();
        while (input.events.size() < count && waited.elapsed() < 10000)
            QTest::qWait(10);
        QTest::qWait(100);
        return std::exchange(input.events, {});
    }
};

TEST_F(HTTPAPIAutomation, RefusedRequests)
{
    // Characters 10 s apart, so many that the first and the last are this many seconds apart.
    const auto typingFor = [](int seconds) {
        return R"({"delay": 10000, "text": ")" + QByteArray(seconds / 10 + 1, 'x') + R"("})";
    };
    // clang-format off
    // The method, path and body, the status and error of the refusal.
    const std::vector<std::tuple<const char*, QByteArray, QByteArray, QByteArray, int, const char*>> rows = {
        {"move with y as text", "POST", "/mouse/move", R"({"x": 1, "y": "2"})", 400, "Missing 'x' and 'y' coordinates"},
        {"move beyond 16 bits", "POST", "/mouse/move", R"({"x": 1, "y": 40000})", 400, "Coordinates must be between -32767 and 32767"},
        {"move of negative duration", "POST", "/mouse/move", R"({"x": 1, "y": 2, "duration": -1})", 400, "'duration' must be a number of seconds from 0 to 60"},
        {"a glide of 10001 moves", "POST", "/mouse/move", R"({"x": 1, "y": 2, "duration": 1, "steps": 10000})", 400, "Too much input for one request: at most 10000 events"},
        {"click of negative count", "POST", "/mouse/click", R"({"count": -1})", 400, "'count' must be 0 or more"},
        {"5001 clicks", "POST", "/mouse/click", R"({"count": 5001})", 400, "Too much input for one request: at most 10000 events"},
        {"a billion clicks", "POST", "/mouse/click", R"({"count": 1e9})", 400, "Too much input for one request: at most 10000 events"},
        {"click far out", "POST", "/mouse/click", R"({"x": -1e9})", 400, "Coordinates must be between -32767 and 32767"},
        {"drag without toY", "POST", "/mouse/drag", R"({"fromX": 1, "fromY": 2, "toX": 3})", 400, "Missing 'fromX', 'fromY', 'toX', 'toY' coordinates"},
        {"drag of 0 steps", "POST", "/mouse/drag", R"({"fromX": 1, "fromY": 2, "toX": 3, "toY": 4, "steps": 0})", 400, "'steps' must be at least 1"},
        {"a drag of 10001 events", "POST", "/mouse/drag", R"({"fromX": 1, "fromY": 2, "toX": 3, "toY": 4, "steps": 9998})", 400, "Too much input for one request: at most 10000 events"},
        {"drag of 60.5 s", "POST", "/mouse/drag", R"({"fromX": 1, "fromY": 2, "toX": 3, "toY": 4, "duration": 60.5})", 400, "'duration' must be a number of seconds from 0 to 60"},
        {"type a number", "POST", "/keyboard/type", R"({"text": 5})", 400, "Missing 'text' field"},
        {"type with a delay of 10001 ms", "POST", "/keyboard/type", R"({"text": "a", "delay": 10001})", 400, "'delay' must be from 0 to 10000 ms"},
        {"type 10001 characters", "POST", "/keyboard/type", R"({"text": ")" + QByteArray(10001, 'x') + R"("})", 400, "Too much text for one request: at most 10000 characters"},
        {"typing for 610 s", "POST", "/keyboard/type", typingFor(610), 400, "The input would take longer than 10 minutes"},
        {"key without a name", "POST", "/keyboard/key", R"({"modifiers": ["shift"]})", 400, "Missing 'key' field"},
        {"hotkey of no keys", "POST", "/keyboard/hotkey", R"({"keys": []})", 400, "Missing 'keys' array"},
        {"sidebar screenshot without a sidebar", "GET", "/sidebar/screenshot", "", 404, "Sidebar not visible or capture failed"},
        {"screenshot without windows", "GET", "/screenshot?maxSize=10", "", 404, "No visible app windows to capture"},
        {"overlay screenshot without a capture", "GET", "/overlay/screenshot", "", 404, "No overlay visible or capture failed"},
        {"screen without a monitor", "GET", "/screen", "", 500, "Screen capture failed - check Screen Recording permission"},
    };
    // clang-format on
    for (const auto& [name, method, path, body, status, error] : rows) {
        const RawHttpResponse refused = send(request(method, path, body));
        EXPECT_EQ(refused.status(), status) << name;
        EXPECT_EQ(refused.json(), (json{{"error", error}})) << name;
    }
    // Ten minutes of typing pass; five thousand clicks would pass too, but the queue holds ten minutes already.
    EXPECT_EQ(post("/keyboard/type", typingFor(600)).status(), 200);
    EXPECT_EQ(events(1), QStringList{"type x"});
    const RawHttpResponse full = post("/mouse/click", R"({"count": 5000})");
    EXPECT_EQ(full.statusLine, "HTTP/1.1 429 Too Many Requests");
    EXPECT_EQ(full.json(),
              (json{{"error", "Too much input queued: wait until the earlier requests' input has been sent"}}));
}

TEST_F(HTTPAPIAutomation, InputStepsInOrderFromThePrimaryMonitorsCorner)
{
    primaryGeometry = QRectF(1920, 0, 1920, 1080); // the right one of two monitors
    input.pointer = QPointF(1900, 5);
    EXPECT_EQ(get("/mouse/position").json(), (json{{"position", {{"x", -20.0}, {"y", 5.0}}}}));

    // cmd and ctrl are both Ctrl and pressed once, win is Super, unknown names are skipped, keys in any case.
    post("/keyboard/hotkey", R"({"keys": ["cmd", "Shift", "CTRL", "hyper", "win", "F5"]})");
    EXPECT_EQ(events(8), (QStringList{"keydown 55 0", "keydown 56 0", "keydown 59 0", "keydown 96 0", "keyup 96 0",
                                      "keyup 59 0", "keyup 56 0", "keyup 55 0"}));
    // "delete" is BackSpace; a modifier that is no name is skipped.
    post("/keyboard/key", R"({"key": "Delete", "modifiers": ["alt", 4]})");
    EXPECT_EQ(events(4), (QStringList{"keydown 58 0", "keydown 51 0", "keyup 51 0", "keyup 58 0"}));

    post("/mouse/click", R"({"x": 10, "y": 20.5, "button": "Right", "count": 2, "modifiers": ["option"]})");
    EXPECT_EQ(events(7), (QStringList{"move 1930,20.5", "keydown 58 0", "down right", "up right", "down right",
                                      "up right", "keyup 58 0"}));
    // Without a body the left button clicks once where the pointer is; a coordinate left out stays where it is.
    post("/mouse/click", "");
    input.pointer = QPointF(2000, 300);
    post("/mouse/click", R"({"x": 5, "button": "center"})");
    EXPECT_EQ(events(5), (QStringList{"down left", "up left", "move 1925,300", "down middle", "up middle"}));

    // Characters as seen (an accent, a flag) typed while the spare keys are busy, then the next request's key.
    input.busyTypings = 2;
    post("/keyboard/type", R"({"text": "e\u0301🇩🇪x", "delay": 0})");
    post("/keyboard/key", R"({"key": "return"})");
    EXPECT_EQ(events(6), (QStringList{QString::fromUtf8("type e\u0301"), QString::fromUtf8("type 🇩🇪"), "type x",
                                      "keydown 36 0", "keyup 36 0", "release"}));
}

TEST_F(HTTPAPIAutomation, WindowsScreenshotsAndOpeners)
{
    // maxSize: a whole number above 0, else no limit; an image that fits is sent byte for byte.
    delegate.windowsPNG = pngOf({1000, 500});
    const std::pair<const char*, QSize> rows[] = {{"", {1000, 500}},
                                                  {"?maxSize=100", {100, 50}},
                                                  {"?maxSize=1", {1, 1}},
                                                  {"?maxSize=1000", {1000, 500}},
                                                  {"?maxSize=0", {1000, 500}},
                                                  {"?maxSize=10a", {1000, 500}},
                                                  {"?maxSize=99999999999999999999", {1000, 500}}};
    for (const auto& [query, size] : rows) {
        const RawHttpResponse image = get(QByteArray("/screenshot") + query);
        EXPECT_EQ(QImage::fromData(image.body).size(), size) << query;
        EXPECT_TRUE(size != QSize(1000, 500) || image.body == *delegate.windowsPNG) << query;
    }
    // A tall image is limited by its height.
    delegate.sidebarPNG = pngOf({300, 900});
    EXPECT_EQ(QImage::fromData(get("/sidebar/screenshot?maxSize=90").body).size(), QSize(30, 90));

    // The primary monitor, taken on the server thread.
    QImage monitor(1920, 1080, QImage::Format_RGB32);
    monitor.fill(Qt::white);
    display.addDisplay(Monitor{1, QStringLiteral("RIGHT"), QRect(0, 0, 1920, 1080)}, monitor);
    EXPECT_TRUE(get("/screen").headerBlock.startsWith("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n"));
    ASSERT_FALSE(display.calls().isEmpty());
    EXPECT_NE(display.calls().last().thread, QThread::currentThreadId());

    post("/preferences", R"({"tab": "TEXT_PROCESSING"})");
    post("/about", "");
    get("/onboarding");
    settle();
    EXPECT_EQ(delegate.calls,
              (QStringList{"openPreferences TEXT_PROCESSING", "openAboutWindow", "openOnboardingWindow"}));
}
