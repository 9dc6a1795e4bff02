#pragma once

#include "core/platform/DefaultsStore.h"

#include <QString>

#include <mutex>

// The defaults store as one JSON object in a file ($XDG_CONFIG_HOME/Quillora/settings.json), rewritten
// atomically at every assignment. A file that is not a JSON object (or not a regular file, larger than
// MaxFileBytes, nested beyond the JSON limit) is moved aside and the store starts empty. Only flat values of
// at most MaxValueBytes are kept from the file: every setting is one, and anything else would be carried
// through every later save.
class JsonFileDefaultsStore : public DefaultsStore {
public:
    static constexpr qint64 MaxFileBytes = 1024 * 1024;
    static constexpr qint64 MaxValueBytes = 4096;

    explicit JsonFileDefaultsStore(const QString& filePath);

    std::optional<nlohmann::json> value(const std::string& key) const override;
    void setValue(const std::string& key, const nlohmann::json& value) override;
    void setValues(const nlohmann::json& values) override;

    QString filePath() const { return m_filePath; }

private:
    void load();
    void moveAside(const QString& why);
    void save(const QByteArray& bytes);

    QString m_filePath;
    mutable std::mutex m_mutex;
    nlohmann::json m_object = nlohmann::json::object();
};
