#include "widgets/shell/MessageBoxPermissionPrompt.h"

#include "core/support/Log.h"
#include "widgets/shell/PermissionHelpPage.h"

#include <QDesktopServices>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

MessageBoxPermissionPrompt::MessageBoxPermissionPrompt(const QString& language)
    : m_language(language)
{}

bool MessageBoxPermissionPrompt::ask(Style style)
{
    QMessageBox box(style == Style::Critical ? QMessageBox::Critical : QMessageBox::Warning,
                    //% "Quillora cannot capture the screen"
                    qtTrId("permission.required.title"), qtTrId("permission.required.title"));
    box.setObjectName(QStringLiteral("permissionAlert"));
    box.setWindowIcon(QIcon(QStringLiteral(":/icons/quillora.svg")));
    //% "Quillora needs to read the screen to find text on it, and that is not possible in this session. "
    //% "Under Wayland the desktop's screenshot portal is missing or refused.\n\n"
    //% "The help page explains how to allow it on GNOME and KDE Plasma. Start Quillora again afterwards."
    box.setInformativeText(qtTrId("permission.required.message"));
    //% "Open Help"
    QPushButton* settings = box.addButton(qtTrId("permission.button.settings"), QMessageBox::AcceptRole);
    if (style == Style::Critical) {
        //% "Quit"
        box.addButton(qtTrId("permission.button.quit"), QMessageBox::RejectRole);
    } else {
        //% "Cancel"
        box.addButton(qtTrId("permission.button.cancel"), QMessageBox::RejectRole);
    }
    box.setDefaultButton(settings);
    box.exec();
    return box.clickedButton() == settings;
}

void MessageBoxPermissionPrompt::openSettings()
{
    const QUrl page = PermissionHelpPage::materialize(m_language, PermissionHelpPage::defaultFolder());
    if (page.isEmpty() || !QDesktopServices::openUrl(page))
        qCInfo(lcApp).noquote() << QStringLiteral("⚠️ Could not open the screen capture help page");
}
