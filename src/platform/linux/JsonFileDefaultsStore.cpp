#include "platform/linux/JsonFileDefaultsStore.h"

#include "core/support/AtomicFile.h"
#include "core/support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

JsonFileDefaultsStore::JsonFileDefaultsStore(const QString& filePath)
    : m_filePath(filePath)
{
    load();
}

void JsonFileDefaultsStore::load()
{
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        qCCritical(lcSettings).noquote() << QStringLiteral("❌ Failed to read settings: %1").arg(file.errorString());
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    nlohmann::json parsed = nlohmann::json::parse(bytes.constData(), bytes.constData() + bytes.size(), nullptr,
                                                  /*allow_exceptions=*/false);
    if (parsed.is_object()) {
        m_object = std::move(parsed);
        return;
    }
    const QString aside = AtomicFile::moveAside(m_filePath);
    qCWarning(lcSettings).noquote()
        << QStringLiteral("⚠️ Settings file is not a JSON object; moved it to %1 and started with defaults")
               .arg(aside.isEmpty() ? QStringLiteral("(move failed)") : aside);
}

std::optional<nlohmann::json> JsonFileDefaultsStore::value(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_object.find(key);
    if (it == m_object.end())
        return std::nullopt;
    return *it;
}

void JsonFileDefaultsStore::setValue(const std::string& key, const nlohmann::json& value)
{
    QByteArray bytes;
    {
        std::lock_guard lock(m_mutex);
        m_object[key] = value;
        bytes = QByteArray::fromStdString(m_object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace));
    }
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QString error;
    if (!AtomicFile::write(m_filePath, bytes + '\n', &error))
        qCCritical(lcSettings).noquote() << QStringLiteral("❌ Failed to save settings: %1").arg(error);
}
