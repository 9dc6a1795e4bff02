#pragma once

#include <QString>
#include <QtGlobal>

#include <nlohmann/json.hpp>

#include <optional>

// A key of a request's JSON object, read as the routes read it: a key that is missing or of another JSON type counts
// as missing.
namespace JsonValues {

std::optional<bool> boolean(const nlohmann::json& body, const char* key);
// A JSON number with a whole value within 64 bits: 10 and 10.0 count, 10.5, "10" and true do not.
std::optional<qint64> integer(const nlohmann::json& body, const char* key);
// Any finite JSON number.
std::optional<double> number(const nlohmann::json& body, const char* key);
std::optional<QString> string(const nlohmann::json& body, const char* key);

} // namespace JsonValues
