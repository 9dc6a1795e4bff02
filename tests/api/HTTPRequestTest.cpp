// The pure pieces of the transport: parsing one request, and reading it across reads within the limits. The
// socket-level tests cover the rest; these rows are the cases only the pieces themselves can reach.
#include "api/HTTPRequestParser.h"
#include "api/HTTPRequestReader.h"

#include <gtest/gtest.h>

using json = nlohmann::json;

TEST(HTTPRequestParser, Table)
{
    struct Row {
        const char* name;
        QByteArray raw;
        QString path;
        std::map<QString, QString> headers;
        std::optional<json> body;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"names lower-cased, the later wins, value cut at a second ': ', not trimmed",
         "GET /h HTTP/1.1\r\nX-A: one\r\nx-a: two: three\r\nX-B:  b \r\n\r\n", "/h", {{"x-a", "two"}, {"x-b", " b "}}, {}},
        {"header lines after the blank line are body", "GET /h HTTP/1.1\r\n\r\nAuthorization: Bearer x\r\n", "/h", {}, {}},
        {"bare string body is no body", "POST /h HTTP/1.1\r\n\r\n\"text\"", "/h", {}, {}},
        {"no blank line, no body", "POST /h HTTP/1.1\r\nX-A: b", "/h", {{"x-a", "b"}}, {}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = HTTPRequestParser::parse(row.raw);
        ASSERT_TRUE(std::holds_alternative<HTTPRequest>(result));
        const HTTPRequest& request = std::get<HTTPRequest>(result);
        EXPECT_EQ(request.path, row.path);
        EXPECT_EQ(request.headers, row.headers);
        EXPECT_EQ(request.body, row.body);
    }
}

TEST(HTTPRequestReader, Table)
{
    using State = HTTPRequestReader::State;
    struct Row {
        const char* name;
        std::vector<QByteArray> chunks;
        State state;
        QByteArray request; // Complete: the whole request; Failed: the status
        bool asksToContinue = false;
    };
    const auto header = [](qsizetype total) { // a header block of exactly total bytes
        return "GET / HTTP/1.1\r\nX: " + QByteArray(total - 23, 'a') + "\r\n\r\n";
    };
    const QByteArray post = "POST / HTTP/1.1\r\nContent-Length: 2\r\n\r\n";
    std::vector<QByteArray> bytes;
    for (const char c : post + "{}")
        bytes.emplace_back(1, c);
    // clang-format off
    const std::vector<Row> rows = {
        {"byte by byte", bytes, State::Complete, post + "{}"},
        {"bytes past Content-Length are not part of it", {post + "{}GET / HTTP/1.1\r\n\r\n"}, State::Complete, post + "{}"},
        {"without Content-Length, what came with the header", {"POST / HTTP/1.1\r\n\r\n{}"}, State::Complete, "POST / HTTP/1.1\r\n\r\n{}"},
        {"header block of exactly the limit", {header(HTTPRequestReader::MaxHeaderBytes)}, State::Complete, header(HTTPRequestReader::MaxHeaderBytes)},
        {"header block one byte over", {header(HTTPRequestReader::MaxHeaderBytes + 1)}, State::Failed, "431"},
        {"body of exactly the limit is waited for", {"POST / HTTP/1.1\r\nContent-Length: 1048576\r\n\r\n"}, State::Incomplete, {}},
        {"body one byte over", {"POST / HTTP/1.1\r\nContent-Length: 1048577\r\n\r\n"}, State::Failed, "413"},
        {"unannounced body over the limit", {"POST / HTTP/1.1\r\n\r\n" + QByteArray(1048577, 'x')}, State::Failed, "413"},
        {"continue asked, body not there", {"POST / HTTP/1.1\r\nContent-Length: 2\r\nExpect: 100-Continue\r\n\r\n"}, State::Incomplete, {}, true},
        {"continue asked, body already there", {"POST / HTTP/1.1\r\nContent-Length: 2\r\nExpect: 100-continue\r\n\r\n{}"}, State::Complete,
         "POST / HTTP/1.1\r\nContent-Length: 2\r\nExpect: 100-continue\r\n\r\n{}"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HTTPRequestReader reader;
        bool continueAsked = false;
        for (const QByteArray& chunk : row.chunks) {
            reader.append(chunk);
            continueAsked = reader.takeContinueRequest() || continueAsked;
        }
        EXPECT_EQ(reader.state(), row.state);
        EXPECT_EQ(continueAsked, row.asksToContinue);
        EXPECT_FALSE(reader.takeContinueRequest()) << "asked for once only";
        if (row.state == State::Complete) {
            EXPECT_EQ(reader.request(), row.request);
        } else if (row.state == State::Failed) {
            EXPECT_EQ(QByteArray::number(reader.error().status), row.request);
        }
    }
}
