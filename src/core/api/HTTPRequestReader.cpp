#include "core/api/HTTPRequestReader.h"

#include "core/api/HTTPRequestParser.h"

#include <QString>

#include <limits>

namespace {

// Index just past the blank line that ends the header block. A line feed on its own also ends a line here,
// so a client that writes bare line feeds is still answered instead of waiting for a blank line it never sends.
qsizetype headerBlockEnd(const QByteArray& buffer)
{
    const qsizetype crlf = buffer.indexOf("\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf < 0 && lf < 0)
        return -1;
    if (lf < 0 || (crlf >= 0 && crlf < lf))
        return crlf + 3;
    return lf + 2;
}

// A decimal count and nothing else; a sign, blanks inside or an overflow make it invalid.
std::optional<qint64> parseLength(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

HTTPRequestReader::State HTTPRequestReader::append(const QByteArray& bytes)
{
    if (m_state != State::Incomplete)
        return m_state;
    m_buffer.append(bytes);
    if (m_headerEnd < 0) {
        const State headerState = readHeaderBlock();
        if (headerState != State::Incomplete || m_headerEnd < 0)
            return headerState;
    }
    if (m_buffer.size() >= m_total) {
        m_continuePending = false;
        m_state = State::Complete;
    }
    return m_state;
}

HTTPRequestReader::State HTTPRequestReader::readHeaderBlock()
{
    const qsizetype end = headerBlockEnd(m_buffer);
    if ((end < 0 && m_buffer.size() > MaxHeaderBytes) || end > MaxHeaderBytes)
        return fail(431, "Request header too large");
    if (end < 0)
        return State::Incomplete;
    m_headerEnd = end;

    const auto headers = HTTPRequestParser::parseHeaders(QString::fromUtf8(m_buffer.left(end)));
    const auto header = [&](const char* name) {
        const auto it = headers.find(QString::fromLatin1(name));
        return it == headers.end() ? QString() : it->second;
    };
    if (!header("transfer-encoding").isNull())
        return fail(411, "Chunked request bodies are not supported: send Content-Length");

    const QString lengthText = header("content-length");
    if (lengthText.isNull()) {
        // Everything that came with the header block is the request, as with a client that does not say.
        if (m_buffer.size() - end > MaxBodyBytes)
            return fail(413, "Request body too large");
        m_total = m_buffer.size();
        return State::Incomplete;
    }
    const std::optional<qint64> length = parseLength(lengthText);
    if (!length)
        return fail(400, "Invalid Content-Length");
    if (*length > MaxBodyBytes)
        return fail(413, "Request body too large");
    m_total = end + *length;
    m_continuePending =
        header("expect").trimmed().compare(u"100-continue", Qt::CaseInsensitive) == 0 && m_buffer.size() < m_total;
    return State::Incomplete;
}

bool HTTPRequestReader::takeContinueRequest()
{
    const bool pending = m_continuePending;
    m_continuePending = false;
    return pending;
}

HTTPRequestReader::State HTTPRequestReader::fail(int status, const char* message)
{
    m_state = State::Failed;
    m_error = HTTPError{status, QString::fromUtf8(message)};
    m_buffer.clear();
    return m_state;
}
