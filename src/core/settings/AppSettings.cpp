#include "core/settings/AppSettings.h"

#include "core/platform/DefaultsStore.h"
#include "core/platform/LoginItem.h"
#include "core/support/Log.h"
#include "core/support/ThreadCheck.h"

#include <QDateTime>

#include <limits>

namespace {

enum class ReadRule {
    HotkeyNumber,   // coercing integer read; 0 or outside unsigned 32 bits gives the default
    StoredBool,     // the stored value when it is a boolean
    StoredInteger,  // the stored value when it is an integer
    CoercedBool,    // when present, the store's own boolean reading
    CoercedInteger, // when present, the store's own integer reading
    StoredString,   // the stored value when it is a string, else empty
};

struct SettingInfo {
    const char* key;
    ReadRule rule;
    nlohmann::json fallback;
};

const std::array<SettingInfo, AppSettings::SettingCount>& settingTable()
{
    static const std::array<SettingInfo, AppSettings::SettingCount> table{{
        {"hotkeyKeyCode", ReadRule::HotkeyNumber, 26},
        {"hotkeyModifiers", ReadRule::HotkeyNumber, 768},
        {"removeLineBreaks", ReadRule::StoredBool, false},
        {"cleanupWhitespace", ReadRule::StoredBool, true},
        {"fixHyphenation", ReadRule::StoredBool, true},
        {"historyEnabled", ReadRule::StoredBool, true},
        {"historyMaxEntries", ReadRule::StoredInteger, 50},
        {"historyAutoDeleteDays", ReadRule::StoredInteger, 30},
        {"apiEnabled", ReadRule::CoercedBool, false},
        {"apiPort", ReadRule::CoercedInteger, 9876},
        {"apiToken", ReadRule::StoredString, ""},
        {"captureWindowShadows", ReadRule::StoredBool, false},
        {"showCaptureHint", ReadRule::StoredBool, true},
        {"copyToPrimarySelection", ReadRule::StoredBool, true},
    }};
    return table;
}

const SettingInfo& info(AppSettings::Setting setting)
{
    return settingTable()[static_cast<size_t>(setting)];
}

bool isInteger(const nlohmann::json& value)
{
    if (value.is_number_integer())
        return true;
    return value.is_number_unsigned() &&
           value.get<unsigned long long>() <= static_cast<unsigned long long>(std::numeric_limits<qint64>::max());
}

} // namespace

AppSettings::AppSettings(DefaultsStore& defaults, LoginItem& loginItem, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_loginItem(loginItem)
{
    for (int i = 0; i < SettingCount; ++i)
        m_values[size_t(i)] = read(Setting(i));
}

AppSettings::~AppSettings() = default;

const char* AppSettings::key(Setting setting)
{
    return info(setting).key;
}

nlohmann::json AppSettings::read(Setting setting) const
{
    const SettingInfo& entry = info(setting);
    const std::optional<nlohmann::json> stored = m_defaults.value(entry.key);
    switch (entry.rule) {
    case ReadRule::HotkeyNumber: {
        const long long number = m_defaults.integerReading(entry.key);
        if (number <= 0 || number > std::numeric_limits<quint32>::max())
            return entry.fallback;
        return number;
    }
    case ReadRule::StoredBool:
        return stored && stored->is_boolean() ? *stored : entry.fallback;
    case ReadRule::StoredInteger:
        return stored && isInteger(*stored) ? nlohmann::json(stored->get<qint64>()) : entry.fallback;
    case ReadRule::CoercedBool:
        return stored ? nlohmann::json(m_defaults.boolReading(entry.key)) : entry.fallback;
    case ReadRule::CoercedInteger:
        return stored ? nlohmann::json(m_defaults.integerReading(entry.key)) : entry.fallback;
    case ReadRule::StoredString:
        return stored && stored->is_string() ? *stored : nlohmann::json("");
    }
    return entry.fallback;
}

nlohmann::json AppSettings::current(Setting setting) const
{
    std::lock_guard lock(m_mutex);
    return m_values[size_t(setting)];
}

void AppSettings::assign(Setting setting, nlohmann::json value)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    {
        std::lock_guard lock(m_mutex);
        m_values[size_t(setting)] = value;
    }
    m_defaults.setValue(info(setting).key, value);
    emit changed();
}

void AppSettings::assign(const std::vector<Assignment>& assignments)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    if (assignments.empty())
        return;
    nlohmann::json stored = nlohmann::json::object();
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [setting, value] : assignments) {
            m_values[size_t(setting)] = value;
            stored[info(setting).key] = value;
        }
    }
    m_defaults.setValues(stored);
    emit changed();
}

quint32 AppSettings::hotkeyKeyCode() const
{
    return current(Setting::HotkeyKeyCode).get<quint32>();
}
quint32 AppSettings::hotkeyModifiers() const
{
    return current(Setting::HotkeyModifiers).get<quint32>();
}
bool AppSettings::removeLineBreaks() const
{
    return current(Setting::RemoveLineBreaks).get<bool>();
}
bool AppSettings::cleanupWhitespace() const
{
    return current(Setting::CleanupWhitespace).get<bool>();
}
bool AppSettings::fixHyphenation() const
{
    return current(Setting::FixHyphenation).get<bool>();
}
bool AppSettings::historyEnabled() const
{
    return current(Setting::HistoryEnabled).get<bool>();
}
qint64 AppSettings::historyMaxEntries() const
{
    return current(Setting::HistoryMaxEntries).get<qint64>();
}
qint64 AppSettings::historyAutoDeleteDays() const
{
    return current(Setting::HistoryAutoDeleteDays).get<qint64>();
}
bool AppSettings::apiEnabled() const
{
    return current(Setting::ApiEnabled).get<bool>();
}
qint64 AppSettings::apiPort() const
{
    return current(Setting::ApiPort).get<qint64>();
}
QString AppSettings::apiToken() const
{
    return QString::fromStdString(current(Setting::ApiToken).get<std::string>());
}
bool AppSettings::captureWindowShadows() const
{
    return current(Setting::CaptureWindowShadows).get<bool>();
}
bool AppSettings::showCaptureHint() const
{
    return current(Setting::ShowCaptureHint).get<bool>();
}
bool AppSettings::copyToPrimarySelection() const
{
    return current(Setting::CopyToPrimarySelection).get<bool>();
}

void AppSettings::setHotkeyKeyCode(quint32 value)
{
    assign(Setting::HotkeyKeyCode, value);
}
void AppSettings::setHotkeyModifiers(quint32 value)
{
    assign(Setting::HotkeyModifiers, value);
}
void AppSettings::setRemoveLineBreaks(bool value)
{
    assign(Setting::RemoveLineBreaks, value);
}
void AppSettings::setCleanupWhitespace(bool value)
{
    assign(Setting::CleanupWhitespace, value);
}
void AppSettings::setFixHyphenation(bool value)
{
    assign(Setting::FixHyphenation, value);
}
void AppSettings::setHistoryEnabled(bool value)
{
    assign(Setting::HistoryEnabled, value);
}
void AppSettings::setHistoryMaxEntries(qint64 value)
{
    assign(Setting::HistoryMaxEntries, value);
}
void AppSettings::setHistoryAutoDeleteDays(qint64 value)
{
    assign(Setting::HistoryAutoDeleteDays, value);
}
void AppSettings::setApiEnabled(bool value)
{
    assign(Setting::ApiEnabled, value);
}
void AppSettings::setApiPort(qint64 value)
{
    assign(Setting::ApiPort, value);
}
void AppSettings::setApiToken(const QString& value)
{
    assign(Setting::ApiToken, value.toStdString());
}
void AppSettings::setCaptureWindowShadows(bool value)
{
    assign(Setting::CaptureWindowShadows, value);
}
void AppSettings::setShowCaptureHint(bool value)
{
    assign(Setting::ShowCaptureHint, value);
}
void AppSettings::setCopyToPrimarySelection(bool value)
{
    assign(Setting::CopyToPrimarySelection, value);
}

bool AppSettings::launchAtLogin() const
{
    return m_loginItem.isEnabled();
}

void AppSettings::setLaunchAtLogin(bool enabled)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    QString error;
    if (!m_loginItem.setEnabled(enabled, &error)) {
        qCInfo(lcSettings).noquote() << (enabled ? QStringLiteral("❌ Failed to enable launch at login: ")
                                                 : QStringLiteral("❌ Failed to disable launch at login: ")) +
                                            error;
        return;
    }
    emit changed();
}

bool AppSettings::hasAcceptedLegal() const
{
    return m_defaults.boolReading(HasAcceptedLegalKey);
}

void AppSettings::setHasAcceptedLegal()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    m_defaults.setValue(LegalAcceptanceDateKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString());
    m_defaults.setValue(HasAcceptedLegalKey, true);
}

bool AppSettings::hasCompletedOnboarding() const
{
    return m_defaults.boolReading(HasCompletedOnboardingKey);
}

void AppSettings::setHasCompletedOnboarding()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    m_defaults.setValue(HasCompletedOnboardingKey, true);
}
