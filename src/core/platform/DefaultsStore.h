#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

// The per-user key-value store that settings and first-run flags live in. Values keep their JSON kinds
// (boolean, number, string, ...), so readers can tell a stored boolean from a stored text.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    // The stored value, or nothing when the key is absent.
    virtual std::optional<nlohmann::json> value(const std::string& key) const = 0;
    // Stores the value under the key and persists it before returning.
    virtual void setValue(const std::string& key, const nlohmann::json& value) = 0;
    // Stores every key of the object and persists them together: after a crash either all or none are stored.
    virtual void setValues(const nlohmann::json& values) = 0;

    bool contains(const std::string& key) const { return value(key).has_value(); }

    // The store's own coercing reads: a stored boolean, number or text is accepted ("YES", "true", "1234").
    // An absent or unreadable value reads as false / 0.
    bool boolReading(const std::string& key) const;
    long long integerReading(const std::string& key) const;
};
