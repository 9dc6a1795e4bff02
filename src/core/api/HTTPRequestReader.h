#pragma once

#include "core/api/HTTPError.h"
#include "core/api/HTTPRequestParser.h"

#include <QByteArray>

// Collects the bytes of one request across as many reads as it takes: the header block up to its blank line (every
// line ended by CR LF; a bare line feed or carriage return is refused as soon as it arrives), then exactly
// Content-Length bytes of body. Without Content-Length the request is whatever had arrived when
// the header block was complete, so a client that sends everything at once is read as it always was. The header
// block is parsed once, when it is in; the body when the request is complete.
// Pure: it never touches a socket; the transport feeds it and acts on its state.
class HTTPRequestReader {
public:
    enum class State { Incomplete, Complete, Failed };

    static constexpr qsizetype MaxHeaderBytes = 16 * 1024;
    static constexpr qsizetype MaxBodyBytes = 1024 * 1024;

    State append(const QByteArray& bytes);
    State state() const { return m_state; }
    // True once the whole header block has arrived (and was not refused).
    bool hasHeaderBlock() const { return m_headerEnd >= 0 && m_state != State::Failed; }

    // True once, right after the header block of a request that asked to be told to go on with its body.
    bool takeContinueRequest();

    // The parsed request, when Complete.
    const HTTPRequest& request() const { return m_head.request; }
    // Why the request is refused, when Failed.
    HTTPError error() const { return m_error; }

private:
    State fail(int status, const char* message);
    State readHeaderBlock();
    qsizetype scanHeaderBlock();
    State finish();

    QByteArray m_buffer;
    State m_state = State::Incomplete;
    qsizetype m_headerEnd = -1; // index just past the blank line, once seen
    qsizetype m_scanned = 0;    // bytes of the header block looked at so far
    qsizetype m_total = -1;     // length of the whole request, once known
    bool m_continuePending = false;
    HTTPRequestParser::Head m_head;
    HTTPError m_error;
};
