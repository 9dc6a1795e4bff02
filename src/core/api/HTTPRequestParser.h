#pragma once

#include "core/api/HTTPError.h"
#include "core/api/HTTPRequest.h"

#include <QByteArray>

#include <variant>

// Turns the bytes of one whole request into its method, path, headers and JSON body. Pure: no sockets, no
// settings; the transport hands it what it read and answers the error it returns.
class HTTPRequestParser {
public:
    static std::variant<HTTPRequest, HTTPError> parse(const QByteArray& bytes);

    // The header lines of a request text (the lines after the first, up to the first empty line), split at
    // ": " with lower-cased names. Lines end with "\r\n" only; a line without ": " is skipped; the value is
    // what stands between the first and a second ": "; a later header replaces an earlier one of the same name.
    static std::map<QString, QString> parseHeaders(const QString& text);
};
