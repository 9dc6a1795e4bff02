#pragma once

#include "core/platform/LoginItem.h"

// Open at login as an XDG autostart entry ($XDG_CONFIG_HOME/autostart/<application id>.desktop), made from the
// program's own desktop entry.
class XdgAutostartLoginItem : public LoginItem {
public:
    // executablePath is what the entry starts; filePath defaults to the user's autostart entry.
    explicit XdgAutostartLoginItem(const QString& executablePath, const QString& filePath = QString());

    bool isEnabled() const override;
    bool setEnabled(bool enabled, QString* error) override;

private:
    QString m_executablePath;
    QString m_filePath;
};
