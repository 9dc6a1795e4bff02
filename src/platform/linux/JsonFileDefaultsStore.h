#pragma once

#include "core/platform/DefaultsStore.h"

#include <QString>

#include <mutex>

// The defaults store as one JSON object in a file ($XDG_CONFIG_HOME/Quillora/settings.json), rewritten
// atomically at every assignment. A file that is not a JSON object is moved aside and the store starts empty.
class JsonFileDefaultsStore : public DefaultsStore {
public:
    explicit JsonFileDefaultsStore(const QString& filePath);

    std::optional<nlohmann::json> value(const std::string& key) const override;
    void setValue(const std::string& key, const nlohmann::json& value) override;

    QString filePath() const { return m_filePath; }

private:
    void load();

    QString m_filePath;
    mutable std::mutex m_mutex;
    nlohmann::json m_object = nlohmann::json::object();
};
