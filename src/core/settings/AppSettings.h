#pragma once

#include <QObject>
#include <QString>

#include <nlohmann/json.hpp>

#include <array>
#include <mutex>
#include <utility>
#include <vector>

class DefaultsStore;
class LoginItem;

// The user's preferences. Every setting is loaded once from the defaults store, kept in memory, and written
// back at the moment it is assigned. Reads are safe from any thread (the HTTP server reads from its own);
// assignments happen on the thread that made the store, the main thread (QUILLORA_ASSERT_OWNER_THREAD).
class AppSettings : public QObject {
    Q_OBJECT

public:
    enum class Setting {
        HotkeyKeyCode,
        HotkeyModifiers,
        RemoveLineBreaks,
        CleanupWhitespace,
        FixHyphenation,
        HistoryEnabled,
        HistoryMaxEntries,
        HistoryAutoDeleteDays,
        ApiEnabled,
        ApiPort,
        ApiToken,
        CaptureWindowShadows,
        ShowCaptureHint,
        CopyToPrimarySelection,
    };
    static constexpr int SettingCount = 14;

    // First-run keys, kept in the defaults store directly.
    static constexpr const char* HasAcceptedLegalKey = "hasAcceptedLegal";
    static constexpr const char* LegalAcceptanceDateKey = "legalAcceptanceDate";
    static constexpr const char* HasCompletedOnboardingKey = "hasCompletedOnboarding";

    AppSettings(DefaultsStore& defaults, LoginItem& loginItem, QObject* parent = nullptr);
    ~AppSettings() override;

    DefaultsStore& defaults() const { return m_defaults; }
    static const char* key(Setting setting);

    quint32 hotkeyKeyCode() const;
    quint32 hotkeyModifiers() const;
    bool removeLineBreaks() const;
    bool cleanupWhitespace() const;
    bool fixHyphenation() const;
    bool historyEnabled() const;
    qint64 historyMaxEntries() const;
    qint64 historyAutoDeleteDays() const;
    bool apiEnabled() const;
    qint64 apiPort() const;
    QString apiToken() const;
    bool captureWindowShadows() const;
    bool showCaptureHint() const;
    // Whether a capture's text also goes to the selection that a middle click pastes (X11's PRIMARY).
    bool copyToPrimarySelection() const;

    void setHotkeyKeyCode(quint32 value);
    void setHotkeyModifiers(quint32 value);
    void setRemoveLineBreaks(bool value);
    void setCleanupWhitespace(bool value);
    void setFixHyphenation(bool value);
    void setHistoryEnabled(bool value);
    void setHistoryMaxEntries(qint64 value);
    void setHistoryAutoDeleteDays(qint64 value);
    void setApiEnabled(bool value);
    void setApiPort(qint64 value);
    void setApiToken(const QString& value);
    void setCaptureWindowShadows(bool value);
    void setShowCaptureHint(bool value);
    void setCopyToPrimarySelection(bool value);

    // Several settings at once, stored in one write of the defaults store, so that a crash keeps all of them
    // or none; one changed() afterwards. Each value must have its setting's kind (boolean, integer or text).
    using Assignment = std::pair<Setting, nlohmann::json>;
    void assign(const std::vector<Assignment>& assignments);

    // Open at login, kept by the login-item service rather than the defaults store.
    bool launchAtLogin() const;
    void setLaunchAtLogin(bool enabled);

    // The first-run flags.
    bool hasAcceptedLegal() const;
    void setHasAcceptedLegal();
    bool hasCompletedOnboarding() const;
    void setHasCompletedOnboarding();

signals:
    // After every assignment (also of an unchanged value) and after a successful login-item change.
    void changed();

private:
    nlohmann::json read(Setting setting) const;
    void assign(Setting setting, nlohmann::json value);
    nlohmann::json current(Setting setting) const;

    DefaultsStore& m_defaults;
    LoginItem& m_loginItem;
    mutable std::mutex m_mutex;
    std::array<nlohmann::json, SettingCount> m_values;
};
