#pragma once

#include "core/platform/LoginItem.h"

// Open at login as an XDG autostart entry ($XDG_CONFIG_HOME/autostart/<application id>.desktop), made from the
// program's own desktop entry. Builds before the application id wrote "quillora.desktop" in the same folder; that
// entry still starts the program at login, so it counts as the same login item: enabled when either entry is,
// removed together with the new one, and replaced by it when the item is enabled again.
class XdgAutostartLoginItem : public LoginItem {
public:
    static constexpr const char* LegacyFileName = "quillora.desktop";

    // executablePath is what the entry starts; filePath defaults to the user's autostart entry.
    explicit XdgAutostartLoginItem(const QString& executablePath, const QString& filePath = QString());

    bool isEnabled() const override;
    bool setEnabled(bool enabled, QString* error) override;

private:
    QString m_executablePath;
    QString m_filePath;
    QString m_legacyFilePath;
};
