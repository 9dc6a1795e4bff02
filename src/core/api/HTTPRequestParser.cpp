#include "core/api/HTTPRequestParser.h"

#include <QStringDecoder>
#include <QStringList>

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString blankLine = QStringLiteral("\r\n\r\n");

// The request line and the header lines: the text before the first empty line. A body is never split into
// lines, which matters for a body of a megabyte.
QStringList headLines(const QString& text)
{
    const qsizetype blank = text.indexOf(blankLine);
    return (blank >= 0 ? text.left(blank) : text).split(lineBreak);
}

std::map<QString, QString> headersOf(const QStringList& lines)
{
    std::map<QString, QString> headers;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.isEmpty())
            break;
        const QStringList parts = line.split(QStringLiteral(": "));
        if (parts.size() < 2)
            continue;
        headers[parts.at(0).toLower()] = parts.at(1);
    }
    return headers;
}

// Only an object counts as a body; empty text, a bare value, an array or invalid JSON all mean "no body".
std::optional<nlohmann::json> parseBody(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    nlohmann::json value = nlohmann::json::parse(utf8.constBegin(), utf8.constEnd(), nullptr, false);
    if (value.is_discarded() || !value.is_object())
        return std::nullopt;
    return value;
}

} // namespace

std::map<QString, QString> HTTPRequestParser::parseHeaders(const QString& text)
{
    return headersOf(headLines(text));
}

std::variant<HTTPRequest, HTTPError> HTTPRequestParser::parse(const QByteArray& bytes)
{
    // Strict decoding: a request with a broken UTF-8 sequence is refused rather than patched up.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return HTTPError{400, QStringLiteral("Invalid request")};

    const QStringList lines = headLines(text);
    if (lines.isEmpty())
        return HTTPError{400, QStringLiteral("Empty request")};

    const QStringList requestLine = lines.first().split(u' ');
    if (requestLine.size() < 2)
        return HTTPError{400, QStringLiteral("Malformed request")};

    HTTPRequest request;
    request.method = requestLine.at(0);
    request.path = requestLine.at(1);
    request.headers = headersOf(lines);

    const qsizetype blank = text.indexOf(blankLine);
    if (blank >= 0)
        request.body = parseBody(text.mid(blank + blankLine.size()));
    return request;
}
