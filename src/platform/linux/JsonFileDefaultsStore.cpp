#include "platform/linux/JsonFileDefaultsStore.h"

#include "core/support/AtomicFile.h"
#include "core/support/JsonNesting.h"
#include "core/support/Log.h"
#include "core/support/PrivateFolder.h"
#include "core/support/RegularFile.h"

#include <QFileInfo>

namespace {

bool isSmallAndFlat(const nlohmann::json& value)
{
    if (value.is_structured())
        return false;
    return !value.is_string() || value.get_ref<const std::string&>().size() <= JsonFileDefaultsStore::MaxValueBytes;
}

} // namespace

JsonFileDefaultsStore::JsonFileDefaultsStore(const QString& filePath)
    : m_filePath(filePath)
{
    load();
}

void JsonFileDefaultsStore::load()
{
    AtomicFile::removeLeftover(m_filePath);
    const RegularFile::Result file = RegularFile::read(m_filePath, MaxFileBytes);
    if (file.status == RegularFile::Status::Missing)
        return;
    if (file.status == RegularFile::Status::Failed) {
        qCCritical(lcSettings).noquote() << QStringLiteral("❌ Failed to read settings: %1").arg(file.error);
        return;
    }
    if (file.status != RegularFile::Status::Read)
        return moveAside(file.error);
    if (!JsonNesting::isWithinLimit(file.bytes))
        return moveAside(QStringLiteral("nested more than %1 levels deep").arg(JsonNesting::MaxDepth));
    nlohmann::json parsed = nlohmann::json::parse(file.bytes.constData(), file.bytes.constData() + file.bytes.size(),
                                                  nullptr, /*allow_exceptions=*/false);
    if (!parsed.is_object())
        return moveAside(QStringLiteral("not a JSON object"));
    for (auto it = parsed.begin(); it != parsed.end();) {
        if (isSmallAndFlat(*it)) {
            ++it;
            continue;
        }
        qCWarning(lcSettings).noquote()
            << QStringLiteral(
                   "⚠️ Dropped the settings value of \"%1\": only numbers, booleans and texts up to %2 bytes "
                   "are kept")
                   .arg(QString::fromStdString(it.key()))
                   .arg(MaxValueBytes);
        it = parsed.erase(it);
    }
    m_object = std::move(parsed);
}

void JsonFileDefaultsStore::moveAside(const QString& why)
{
    const QString aside = AtomicFile::moveAside(m_filePath);
    qCWarning(lcSettings).noquote()
        << QStringLiteral("⚠️ Settings file is unreadable (%1); moved it to %2 and started with defaults")
               .arg(why, aside.isEmpty() ? QStringLiteral("(move failed)") : aside);
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
    setValues(nlohmann::json{{key, value}});
}

void JsonFileDefaultsStore::setValues(const nlohmann::json& values)
{
    QByteArray bytes;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [key, value] : values.items())
            m_object[key] = value;
        bytes = QByteArray::fromStdString(m_object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace));
    }
    save(bytes + '\n');
}

void JsonFileDefaultsStore::save(const QByteArray& bytes)
{
    QString error = PrivateFolder::make(QFileInfo(m_filePath).absolutePath());
    if (error.isEmpty() && AtomicFile::write(m_filePath, bytes, &error))
        return;
    qCCritical(lcSettings).noquote() << QStringLiteral("❌ Failed to save settings: %1").arg(error);
}
