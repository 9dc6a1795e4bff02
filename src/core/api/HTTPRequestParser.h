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
    };

    // The head of a request: the text up to its first "\r\n\r\n", or all of it. Lines end with "\r\n" only. The
    // request line is split at single spaces: the method is its first part and the path its second. The header
    // lines follow up to the first empty line; a line without ": " is skipped, the value is what stands between
    // the first and a second ": ", names are lower-cased, and a later header replaces an earlier one of the same
    // name. Text that is not valid UTF-8 or has no path is still read (with replacement characters), because its
    // Content-Length decides how much the reader takes in before the request is refused.
    static Head parseHead(QByteArrayView bytes);

    // The JSON object after the first "\r\n\r\n" of the whole request. Only an object counts as a body: empty
    // text, a bare value, an array or invalid JSON all mean "no body".
    static std::optional<nlohmann::json> parseBody(QByteArrayView request);

    static bool isValidUtf8(QByteArrayView bytes);
};
