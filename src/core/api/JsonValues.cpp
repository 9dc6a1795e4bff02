#include "core/api/JsonValues.h"

#include <cmath>
#include <limits>

namespace JsonValues {

std::optional<bool> boolean(const nlohmann::json& body, const char* key)
{
    const auto it = body.find(key);
    if (it == body.end() || !it->is_boolean())
        return std::nullopt;
    return it->get<bool>();
}

std::optional<qint64> integer(const nlohmann::json& body, const char* key)
{
    const auto it = body.find(key);
    if (it == body.end())
        return std::nullopt;
    if (it->is_number_integer())
        return it->get<qint64>();
    if (it->is_number_unsigned()) {
        const auto value = it->get<quint64>();
        if (value > static_cast<quint64>(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return static_cast<qint64>(value);
    }
    if (it->is_number_float()) {
        const double value = it->get<double>();
        // 2^63 itself is out of range; the largest double below it is in.
        if (std::trunc(value) != value || value < -9.2233720368547758e18 || value >= 9.2233720368547758e18)
            return std::nullopt;
        return static_cast<qint64>(value);
    }
    return std::nullopt;
}

std::optional<double> number(const nlohmann::json& body, const char* key)
{
    const auto it = body.find(key);
    if (it == body.end() || !it->is_number())
        return std::nullopt;
    const double value = it->get<double>();
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QString> string(const nlohmann::json& body, const char* key)
{
    const auto it = body.find(key);
    if (it == body.end() || !it->is_string())
        return std::nullopt;
    return QString::fromStdString(it->get<std::string>());
}

} // namespace JsonValues
