// The pure pieces of the transport: parsing one request, reading it across reads, and the limits.
#include "api/HTTPRequestParser.h"
#include "api/HTTPRequestReader.h"

#include <gtest/gtest.h>

namespace {

struct ParseRow {
    const char* name;
    QByteArray raw;
    int errorStatus; // 0 when the request parses
    QString errorMessage;
    QString method;
    QString path;
    std::map<QString, QString> headers;
    std::optional<nlohmann::json> body;
};

} // namespace

TEST(HTTPRequestParser, Table) {
    const std::vector<ParseRow> rows = {
        {"request line, headers and object body",
         "POST /history HTTP/1.1\r\nHost: localhost\r\nContent-Type: application/json\r\n\r\n{\"text\": \"a\"}",
         0,
         {},
         "POST",
         "/history",
         {{"host", "localhost"}, {"content-type", "application/json"}},
         nlohmann::json{{"text", "a"}}},
        {"query stays in the path", "GET /status?x=1 HTTP/1.1\r\n\r\n", 0, {}, "GET", "/status?x=1", {}, {}},
        {"names lower-cased, the later of two wins, value cut at a second ': ' and not trimmed",
         "GET / HTTP/1.1\r\nX-Thing: one\r\nx-thing: two: three\r\nAuthorization:  Bearer t \r\n\r\n",
         0,
         {},
         "GET",
         "/",
         {{"x-thing", "two"}, {"authorization", " Bearer t "}},
         {}},
        {"a header line without a space after the colon is skipped",
         "GET / HTTP/1.1\r\nAuthorization:Bearer t\r\n\r\n",
         0,
         {},
         "GET",
         "/",
         {},
         {}},
        {"bare line feeds make one line: no headers, the path still found",
         "GET /status HTTP/1.1\nHost: localhost\nAuthorization: Bearer t\n\n",
         0,
         {},
         "GET",
         "/status",
         {},
         {}},
        {"two spaces give an empty path", "GET  /status HTTP/1.1\r\n\r\n", 0, {}, "GET", "", {}, {}},
        {"lines after the blank line are not headers", "GET / HTTP/1.1\r\n\r\nHost: x\r\n", 0, {}, "GET", "/", {}, {}},
        {"an array body is no body", "POST /history HTTP/1.1\r\n\r\n[1,2]", 0, {}, "POST", "/history", {}, {}},
        {"a bare string body is no body", "POST /history HTTP/1.1\r\n\r\n\"text\"", 0, {}, "POST", "/history", {}, {}},
        {"broken JSON is no body", "POST /history HTTP/1.1\r\n\r\n{\"text\": ", 0, {}, "POST", "/history", {}, {}},
        {"no blank line, no body", "POST /history HTTP/1.1\r\nA: b", 0, {}, "POST", "/history", {{"a", "b"}}, {}},
        {"non-ASCII text in the body",
         "POST /history HTTP/1.1\r\n\r\n{\"text\": \"Grüße ✓\"}",
         0,
         {},
         "POST",
         "/history",
         {},
         nlohmann::json{{"text", "Grüße ✓"}}},
        {"invalid UTF-8", "GET /\xff HTTP/1.1\r\n\r\n", 400, "Invalid request", {}, {}, {}, {}},
        {"one word only", "GET\r\n\r\n", 400, "Malformed request", {}, {}, {}, {}},
        {"empty bytes", "", 400, "Malformed request", {}, {}, {}, {}},
    };
    for (const ParseRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = HTTPRequestParser::parse(row.raw);
        if (row.errorStatus) {
            ASSERT_TRUE(std::holds_alternative<HTTPError>(result));
            EXPECT_EQ(std::get<HTTPError>(result).status, row.errorStatus);
            EXPECT_EQ(std::get<HTTPError>(result).message, row.errorMessage);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<HTTPRequest>(result));
        const HTTPRequest& request = std::get<HTTPRequest>(result);
        EXPECT_EQ(request.method, row.method);
        EXPECT_EQ(request.path, row.path);
        EXPECT_EQ(request.headers, row.headers);
        EXPECT_EQ(request.body, row.body);
    }
}

namespace {

using State = HTTPRequestReader::State;

struct ReadRow {
    const char* name;
    std::vector<QByteArray> chunks;
    State state;
    QByteArray request; // when Complete
    int errorStatus;    // when Failed
    bool asksToContinue = false;
};

QByteArray headerOfSize(qsizetype total) {
    // "GET / HTTP/1.1\r\nX: aaaa...\r\n\r\n" of exactly total bytes.
    const QByteArray start = "GET / HTTP/1.1\r\nX: ";
    const QByteArray end = "\r\n\r\n";
    return start + QByteArray(total - start.size() - end.size(), 'a') + end;
}

} // namespace

TEST(HTTPRequestReader, Table) {
    const QByteArray post = "POST /history HTTP/1.1\r\nContent-Length: 13\r\n\r\n";
    const QByteArray body = "{\"text\":\"ab\"}";
    const QByteArray largest = headerOfSize(HTTPRequestReader::MaxHeaderBytes);
    const QByteArray maxBody = "POST / HTTP/1.1\r\nContent-Length: 1048576\r\n\r\n";
    const std::vector<ReadRow> rows = {
        {"whole request in one read", {post + body}, State::Complete, post + body, 0},
        {"body in a later read", {post, body}, State::Complete, post + body, 0},
        {"byte by byte",
         [&] {
             std::vector<QByteArray> bytes;
             for (char c : post + body)
                 bytes.push_back(QByteArray(1, c));
             return bytes;
         }(),
         State::Complete, post + body, 0},
        {"body still short", {post, "{\"text\""}, State::Incomplete, {}, 0},
        {"bytes past Content-Length are not part of it",
         {post + body + "GET / HTTP/1.1\r\n\r\n"},
         State::Complete,
         post + body,
         0},
        {"without Content-Length, what came with the header block",
         {"POST /history HTTP/1.1\r\n\r\n{\"text\":\"x\"}"},
         State::Complete,
         "POST /history HTTP/1.1\r\n\r\n{\"text\":\"x\"}",
         0},
        {"bare line feeds end the header block",
         {"GET /status HTTP/1.1\n\n"},
         State::Complete,
         "GET /status HTTP/1.1\n\n",
         0},
        {"header block of exactly the limit", {largest}, State::Complete, largest, 0},
        {"header block one byte over the limit",
         {headerOfSize(HTTPRequestReader::MaxHeaderBytes + 1)},
         State::Failed,
         {},
         431},
        {"endless header without a blank line", {QByteArray(20000, 'a')}, State::Failed, {}, 431},
        {"body of exactly the limit is waited for", {maxBody}, State::Incomplete, {}, 0},
        {"body over the limit", {"POST / HTTP/1.1\r\nContent-Length: 1048577\r\n\r\n"}, State::Failed, {}, 413},
        {"unannounced body over the limit",
         {"POST / HTTP/1.1\r\n\r\n" + QByteArray(HTTPRequestReader::MaxBodyBytes + 1, 'x')},
         State::Failed,
         {},
         413},
        {"Content-Length that is not a number",
         {"POST / HTTP/1.1\r\nContent-Length: 12abc\r\n\r\n"},
         State::Failed,
         {},
         400},
        {"negative Content-Length", {"POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n"}, State::Failed, {}, 400},
        {"chunked body", {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"}, State::Failed, {}, 411},
        {"Expect: 100-continue before the body",
         {"POST / HTTP/1.1\r\nContent-Length: 2\r\nExpect: 100-Continue\r\n\r\n"},
         State::Incomplete,
         {},
         0,
         true},
        {"Expect: 100-continue with the body already there",
         {"POST / HTTP/1.1\r\nContent-Length: 2\r\nExpect: 100-continue\r\n\r\n{}"},
         State::Complete,
         "POST / HTTP/1.1\r\nContent-Length: 2\r\nExpect: 100-continue\r\n\r\n{}",
         0,
         false},
    };
    for (const ReadRow& row : rows) {
        SCOPED_TRACE(row.name);
        HTTPRequestReader reader;
        bool continueAsked = false;
        for (const QByteArray& chunk : row.chunks) {
            reader.append(chunk);
            continueAsked = reader.takeContinueRequest() || continueAsked;
        }
        EXPECT_EQ(reader.state(), row.state);
        EXPECT_EQ(continueAsked, row.asksToContinue);
        EXPECT_FALSE(reader.takeContinueRequest()) << "the interim answer is asked for once only";
        if (row.state == State::Complete) {
            EXPECT_EQ(reader.request(), row.request);
        }
        if (row.state == State::Failed) {
            EXPECT_EQ(reader.error().status, row.errorStatus);
        }
    }
}

TEST(HTTPRequestReader, FailureMessagesAndNothingAfterTheEnd) {
    HTTPRequestReader tooLarge;
    tooLarge.append("POST / HTTP/1.1\r\nContent-Length: 2000000\r\n\r\n");
    EXPECT_EQ(tooLarge.error().message, QStringLiteral("Request body too large"));
    EXPECT_EQ(tooLarge.append("{}"), State::Failed);

    HTTPRequestReader headerTooLarge;
    headerTooLarge.append(QByteArray(HTTPRequestReader::MaxHeaderBytes + 1, 'a'));
    EXPECT_EQ(headerTooLarge.error().message, QStringLiteral("Request header too large"));

    HTTPRequestReader complete;
    complete.append("GET / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(complete.append("GET /other HTTP/1.1\r\n\r\n"), State::Complete);
    EXPECT_EQ(complete.request(), QByteArray("GET / HTTP/1.1\r\n\r\n"));
}
