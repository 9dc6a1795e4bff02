#pragma once

#include <QString>

#include <nlohmann/json.hpp>

#include <map>
#include <optional>

// One parsed request. The path still carries its query string; header names are lower-cased.
struct HTTPRequest {
    QString method;
    QString path;
    std::map<QString, QString> headers;
    // Present only when the body parsed as a JSON object.
    std::optional<nlohmann::json> body;

    // The value of a header by its lower-case name, or a null string when it was not sent.
    QString header(const QString& lowerCaseName) const;
};
