#include "core/api/HTTPRequestReader.h"

#include "core/support/JsonNesting.h"

#include <QString>

#include <algorithm>
#include <limits>

namespace {

constexpr qsizetype BareLineBreak = -2;

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

// Looks at the bytes of the header block that arrived since the last look: the index just past the blank line
// that ends it, -1 while that has not come, or BareLineBreak at a line feed or carriage return that is not part of
// a CR LF. The latter is refused at once, so that a client writing bare line feeds hears why instead of waiting
// for a blank line it never sends.
qsizetype HTTPRequestReader::scanHeaderBlock()
{
    const qsizetype limit = std::min(m_buffer.size(), MaxHeaderBytes);
    // The last byte looked at again: a carriage return there could not be judged without the byte after it.
    for (qsizetype i = std::max<qsizetype>(m_scanned - 1, 0); i < limit; ++i) {
        const char c = m_buffer.at(i);
        if (c == '\n') {
            if (i == 0 || m_buffer.at(i - 1) != '\r')
                return BareLineBreak;
            if (i >= 3 && m_buffer.at(i - 2) == '\n')
                return i + 1;
        } else if (c == '\r' && i + 1 < m_buffer.size() && m_buffer.at(i + 1) != '\n') {
            return BareLineBreak;
        }
    }
    m_scanned = limit;
    return -1;
}

HTTPRequestReader::State HTTPRequestReader::readHeaderBlock()
{
    const qsizetype end = scanHeaderBlock();
    if (end == BareLineBreak)
        return fail(400, "Lines must end with CR LF");
    if (end < 0 && m_buffer.size() > MaxHeaderBytes)
        return fail(431, "Request header too large");
    if (end < 0)
        return State::Incomplete;
    m_headerEnd = end;

    m_head = HTTPRequestParser::parseHead(QByteArrayView(m_buffer).first(end));
    if (m_head.fault)
        return fail(400, m_head.fault);
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
