#pragma once

#include "widgets/shell/PermissionPrompt.h"

#include <QString>

// The permission alert as a QMessageBox; "open the settings" opens the shipped help page in the browser.
class MessageBoxPermissionPrompt : public PermissionPrompt {
public:
    // language selects the help page ("en", "de").
    explicit MessageBoxPermissionPrompt(const QString& language);

    bool ask(Style style) override;
    void openSettings() override;

private:
    QString m_language;
};
