#include "platform/fake/InMemoryDefaultsStore.h"

std::optional<nlohmann::json> InMemoryDefaultsStore::value(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_values.find(key);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

void InMemoryDefaultsStore::setValue(const std::string& key, const nlohmann::json& value)
{
    std::lock_guard lock(m_mutex);
    m_values[key] = value;
    m_writes.emplace_back(key, value);
    ++m_batches;
}

void InMemoryDefaultsStore::setValues(const nlohmann::json& values)
{
    std::lock_guard lock(m_mutex);
    for (const auto& [key, value] : values.items()) {
        m_values[key] = value;
        m_writes.emplace_back(key, value);
    }
    ++m_batches;
}

int InMemoryDefaultsStore::batches() const
{
    std::lock_guard lock(m_mutex);
    return m_batches;
}

void InMemoryDefaultsStore::preset(const std::string& key, const nlohmann::json& value)
{
    std::lock_guard lock(m_mutex);
    m_values[key] = value;
}

std::vector<std::pair<std::string, nlohmann::json>> InMemoryDefaultsStore::writes() const
{
    std::lock_guard lock(m_mutex);
    return m_writes;
}

void InMemoryDefaultsStore::clearWrites()
{
    std::lock_guard lock(m_mutex);
    m_writes.clear();
    m_batches = 0;
}
