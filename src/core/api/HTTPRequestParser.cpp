#include "core/api/HTTPRequestParser.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr QByteArrayView lineBreak("\r\n");

// The headers this server decides on. One copy each: with two, this server and a proxy or browser in front of it
// could each believe a different one.
constexpr std::array<std::pair<const char*, const char*>, 5> singleHeaders = {{
    {"host", "Duplicate Host header"},
    {"origin", "Duplicate Origin header"},
    {"authorization", "Duplicate Authorization header"},
    {"content-length", "Duplicate Content-Length header"},
    {"sec-fetch-site", "Duplicate Sec-Fetch-Site header"},
}};

bool isTokenCharacter(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Visible characters, blanks and the bytes of non-ASCII text; no control characters.
bool isValueByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte == '\t' || (byte >= 0x20 && byte != 0x7f);
}

QByteArrayView withoutBlanks(QByteArrayView value)
{
    while (!value.isEmpty() && isBlank(value.front()))
        value = value.sliced(1);
    while (!value.isEmpty() && isBlank(value.back()))
        value.chop(1);
    return value;
}

} // namespace

HTTPRequestParser::Head HTTPRequestParser::parseHead(QByteArrayView headerBlock)
{
    Head head;
    head.validUtf8 = isValidUtf8(headerBlock);
    const auto fail = [&head](const char* fault) {
        head.fault = fault;
        return head;
    };

    qsizetype position = 0;
    bool requestLine = true;
    while (position < headerBlock.size()) {
        const qsizetype end = headerBlock.indexOf(lineBreak, position);
        const QByteArrayView line = headerBlock.sliced(position, (end < 0 ? headerBlock.size() : end) - position);
        position = end < 0 ? headerBlock.size() : end + lineBreak.size();
        if (line.contains('\n') || line.contains('\r'))
            return fail("Lines must end with CR LF");

        if (std::exchange(requestLine, false)) {
            // Stateless, so a byte-order mark at the very start is dropped as it always was.
            QStringDecoder decoder(QStringDecoder::Utf8,
                                   QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            const QStringList parts = QString(decoder.decode(line)).split(u' ');
            // The method is a token and the target is not empty: " GET / HTTP/1.1" names no method.
            head.hasRequestLine = parts.size() >= 2 && !parts.at(0).isEmpty() && !parts.at(1).isEmpty() &&
                                  std::all_of(parts.at(0).cbegin(), parts.at(0).cend(), [](QChar c) {
                                      return c.unicode() < 0x80 && isTokenCharacter(char(c.unicode()));
                                  });
            if (head.hasRequestLine) {
                head.request.method = parts.at(0);
                head.request.path = parts.at(1);
            }
            continue;
        }
        if (line.isEmpty())
            break;
        if (isBlank(line.front()))
            return fail("Folded header lines are not supported");
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return fail("Invalid header line");
        const QByteArrayView name = line.first(colon);
        const QByteArrayView value = withoutBlanks(line.sliced(colon + 1));
        for (const char c : name)
            if (!isTokenCharacter(c))
                return fail("Invalid header line");
        for (const char c : value)
            if (!isValueByte(c))
                return fail("Invalid header line");

        const QString key = QString::fromLatin1(name).toLower();
        const QString text = QString::fromUtf8(value);
        const auto [it, added] = head.request.headers.try_emplace(key, text);
        if (added)
            continue;
        for (const auto& [single, duplicate] : singleHeaders)
            if (key == QLatin1String(single))
                return fail(duplicate);
        it->second += QStringLiteral(", ") + text;
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
