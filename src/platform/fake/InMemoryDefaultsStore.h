#pragma once

#include "core/platform/DefaultsStore.h"

#include <map>
#include <mutex>
#include <vector>

// A defaults store in memory that records every write, for tests.
class InMemoryDefaultsStore : public DefaultsStore {
public:
    std::optional<nlohmann::json> value(const std::string& key) const override;
    void setValue(const std::string& key, const nlohmann::json& value) override;
    // Recorded as one write per key, all in one batch (see batches()).
    void setValues(const nlohmann::json& values) override;

    // Puts a value in place without recording it as a write (a value "already stored" before the test).
    void preset(const std::string& key, const nlohmann::json& value);
    std::vector<std::pair<std::string, nlohmann::json>> writes() const;
    void clearWrites();
    // How many times the store was persisted (one per setValue, one per setValues).
    int batches() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, nlohmann::json> m_values;
    std::vector<std::pair<std::string, nlohmann::json>> m_writes;
    int m_batches = 0;
};
