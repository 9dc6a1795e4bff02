#pragma once

#include "core/api/HTTPRequest.h"

#include <QByteArrayView>

// Turns the bytes of one request into its method, path, headers and JSON body. Pure: no sockets, no settings.
// The reader hands it the header block as soon as that has arrived and the whole request once it is complete.
class HTTPRequestParser {
public:
    struct Head {
        HTTPRequest request; // method, path and headers; no body
        bool validUtf8 = false;
        bool hasRequestLine = false; // a method and a path, at least
        // Why the header block is not a well-formed HTTP/1.1 message head, or null. Such a request is refused
        // before anything of it is used: two programs that read one message differently are how a request
        // slips past the Host, Origin and token checks.
        const char* fault = nullptr;
    };

    // The header block of a request, up to and including its blank line. Every line ends with CR LF; a bare line
    // feed or carriage return is a fault. The request line is split at single spaces: the method is its first part
    // and the path its second. Each header line is a name (letters, digits and the few marks a token allows), a
    // colon, and the value with the blanks (spaces, tabs) around it taken away; names are lower-cased. A blank
    // between name and colon, a line without a colon, a control character in a value, a line that begins with a
    // blank (the obsolete folding of a value onto more lines), and a second Host, Origin, Authorization,
    // Content-Length or Sec-Fetch-Site are faults. Other repeated headers are joined with ", ", as a list
    // header's values are. Text that is not valid UTF-8 or has no path is still read (with replacement
    // characters), because its Content-Length decides how much the reader takes in before the request is refused.
    static Head parseHead(QByteArrayView headerBlock);

    // The JSON object after the first "\r\n\r\n" of the whole request. Only an object counts as a body: empty
    // text, a bare value, an array or invalid JSON all mean "no body".
    static std::optional<nlohmann::json> parseBody(QByteArrayView request);

    static bool isValidUtf8(QByteArrayView bytes);
};
