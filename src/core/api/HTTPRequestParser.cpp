#include "core/api/HTTPRequestParser.h"

#include <QStringDecoder>
#include <QStringList>

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString blankLine = QStringLiteral("\r\n\r\n");

} // namespace

HTTPRequestParser::Head HTTPRequestParser::parseHead(QByteArrayView bytes)
{
    // Strict decoding: a request with a broken UTF-8 sequence is refused rather than patched up.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    Head head;
    head.validUtf8 = !decoder.hasError();

    // A body is never split into lines, which matters for a body of a megabyte.
    const qsizetype blank = text.indexOf(blankLine);
    const QStringList lines = (blank >= 0 ? text.left(blank) : text).split(lineBreak);
    const QStringList requestLine = lines.first().split(u' ');
    head.hasRequestLine = requestLine.size() >= 2;
    if (head.hasRequestLine) {
        head.request.method = requestLine.at(0);
        head.request.path = requestLine.at(1);
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.isEmpty())
            break;
        const QStringList parts = line.split(QStringLiteral(": "));
        if (parts.size() < 2)
            continue;
        head.request.headers[parts.at(0).toLower()] = parts.at(1);
    }
    return head;
}

std::optional<nlohmann::json> HTTPRequestParser::parseBody(QByteArrayView request)
{
    const qsizetype blank = request.indexOf(QByteArrayView("\r\n\r\n"));
    if (blank < 0)
        return std::nullopt;
    const QByteArrayView body = request.sliced(blank + 4);
    nlohmann::json value = nlohmann::json::parse(body.begin(), body.end(), nullptr, false);
    if (value.is_discarded() || !value.is_object())
        return std::nullopt;
    return value;
}

bool HTTPRequestParser::isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes); // decoding happens as it becomes a QString
    return !decoder.hasError();
}
