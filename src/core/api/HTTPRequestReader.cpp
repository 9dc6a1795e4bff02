#include "core/api/HTTPRequestReader.h"

#include "core/support/JsonNesting.h"

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
    if (m_buffer.size() >= m_total)
        return finish();
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

    m_head = HTTPRequestParser::parseHead(QByteArrayView(m_buffer).first(end));
    const auto header = [&](const char* name) { return m_head.request.header(QString::fromLatin1(name)); };
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

HTTPRequestReader::State HTTPRequestReader::finish()
{
    m_continuePending = false;
    const QByteArrayView request = QByteArrayView(m_buffer).first(m_total);
    // A head ended by a bare line feed has always been read on to the first "\r\n\r\n" of the whole request (or
    // its end), so that bytes after the blank line still count as header lines. Kept as it is for now.
    if (!request.first(m_headerEnd).endsWith("\r\n\r\n") && m_total > m_headerEnd)
        m_head = HTTPRequestParser::parseHead(request);
    // Refusals that need the whole request come after those of its size, as they always have.
    if (!m_head.validUtf8 || !HTTPRequestParser::isValidUtf8(request.sliced(m_headerEnd)))
        return fail(400, "Invalid request");
    if (!m_head.hasRequestLine)
        return fail(400, "Malformed request");
    // Checked before the parser sees the body: its recursion is what deep nesting would overflow.
    static_assert(JsonNesting::MaxDepth == 64, "the refusal below names the limit");
    if (!JsonNesting::isWithinLimit(request.sliced(m_headerEnd)))
        return fail(400, "Request body is nested too deeply (JSON allows at most 64 levels here)");
    m_head.request.body = HTTPRequestParser::parseBody(request);
    m_buffer.clear();
    m_state = State::Complete;
    return m_state;
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
