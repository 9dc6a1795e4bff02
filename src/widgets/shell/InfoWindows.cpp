#include "widgets/shell/InfoWindows.h"

#include "core/settings/AppSettings.h"
#include "core/shell/HotkeyText.h"
#include "core/support/Log.h"
#include "widgets/shell/AboutWindowController.h"
#include "widgets/shell/LegalInfoWindowController.h"
#include "widgets/shell/OnboardingWindowController.h"

#include <QPointer>

InfoWindows::InfoWindows(AppSettings& settings, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
{}

InfoWindows::~InfoWindows() = default;

void InfoWindows::showAbout()
{
    if (!m_aboutWindowController)
        m_aboutWindowController = std::make_unique<AboutWindowController>();
    m_aboutWindowController->showWindow();
}

void InfoWindows::showOnboarding(bool trayAvailable, bool hotkeyRegistered)
{
    const OnboardingWindowController::Hotkey hotkey{
        HotkeyText::desktopString(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers()), hotkeyRegistered};
    QPointer<InfoWindows> self(this);
    auto controller = std::make_unique<OnboardingWindowController>(m_settings, hotkey, trayAvailable, [self] {
        if (!self)
            return;
        qCInfo(lcApp).noquote() << QStringLiteral("Onboarding completed");
        // The completion runs inside the window's own button handler: the controller goes from the event loop.
        if (self->m_onboardingWindowController)
            self->m_onboardingWindowController.release()->deleteLater();
    });
    if (m_onboardingWindowController)
        m_onboardingWindowController.release()->deleteLater();
    m_onboardingWindowController = std::move(controller);
    m_onboardingWindowController->showWindow();
}

void InfoWindows::showLegalInfo(int kind)
{
    m_legalInfoWindowController = std::make_unique<LegalInfoWindowController>(kind);
    m_legalInfoWindowController->showWindow();
}
