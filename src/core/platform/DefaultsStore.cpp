#include "core/platform/DefaultsStore.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace {

// Reads a leading decimal integer the way the user-defaults store reads a text: leading whitespace and a
// sign are allowed, digits stop at the first non-digit, no digits reads as 0, overflow saturates.
long long leadingInteger(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        const int digit = text[i] - '0';
        if (value > (std::numeric_limits<long long>::max() - digit) / 10)
            return negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// A text reads as true when, after leading whitespace and zeros, it starts with Y, y, T, t or a digit 1-9.
bool textTruth(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    while (i < text.size() && text[i] == '0')
        ++i;
    if (i >= text.size())
        return false;
    const char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long long clampedDouble(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= static_cast<double>(std::numeric_limits<long long>::max()))
        return std::numeric_limits<long long>::max();
    if (d <= static_cast<double>(std::numeric_limits<long long>::min()))
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(d);
}

} // namespace

bool DefaultsStore::boolReading(const std::string& key) const
{
    const auto stored = value(key);
    if (!stored)
        return false;
    if (stored->is_boolean())
        return stored->get<bool>();
    if (stored->is_number_integer())
        return stored->get<long long>() != 0;
    if (stored->is_number_unsigned())
        return stored->get<unsigned long long>() != 0;
    if (stored->is_number_float())
        return stored->get<double>() != 0.0;
    if (stored->is_string())
        return textTruth(stored->get<std::string>());
    return false;
}

long long DefaultsStore::integerReading(const std::string& key) const
{
    const auto stored = value(key);
    if (!stored)
        return 0;
    if (stored->is_boolean())
        return stored->get<bool>() ? 1 : 0;
    if (stored->is_number_integer())
        return stored->get<long long>();
    if (stored->is_number_unsigned()) {
        const auto u = stored->get<unsigned long long>();
        return u > static_cast<unsigned long long>(std::numeric_limits<long long>::max())
                   ? std::numeric_limits<long long>::max()
                   : static_cast<long long>(u);
    }
    if (stored->is_number_float())
        return clampedDouble(stored->get<double>());
    if (stored->is_string())
        return leadingInteger(stored->get<std::string>());
    return 0;
}
