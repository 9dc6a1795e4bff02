#include "platform/linux/PlatformServices.h"

#include "core/support/Log.h"
#include "platform/linux/PortalDisplayCapture.h"
#include "platform/linux/PortalGlobalShortcutService.h"
#include "platform/linux/RefusedSyntheticInput.h"
#include "platform/linux/X11DisplayCapture.h"
#include "platform/linux/X11HotkeyService.h"
#include "platform/linux/XInput2PointerMonitor.h"
#include "platform/linux/XTestSyntheticInput.h"

PlatformServices::PlatformServices() = default;
PlatformServices::~PlatformServices() = default;
PlatformServices::PlatformServices(PlatformServices&&) noexcept = default;
PlatformServices& PlatformServices::operator=(PlatformServices&&) noexcept = default;

PlatformServices PlatformServices::create(const QString& platformName)
{
    PlatformServices services;
    if (platformName == QLatin1String("wayland")) {
        qCInfo(lcApp).noquote() << QStringLiteral(
            "🪟 Wayland session: the screen through the desktop's screenshot portal, the hotkey through its global "
            "shortcuts portal");
        services.displayCapture = std::make_unique<PortalDisplayCapture>();
        services.hotkeyService = std::make_unique<PortalGlobalShortcutService>();
        services.syntheticInput = std::make_unique<RefusedSyntheticInput>(QStringLiteral(
            "This is a Wayland session, and Wayland does not let one program send mouse or keyboard input to "
            "others. The input routes work in an X11 session."));
        services.windowsPlaceThemselves = false;
        return services;
    }
    services.displayCapture = std::make_unique<X11DisplayCapture>();
    services.hotkeyService = std::make_unique<X11HotkeyService>();
    services.pointerMonitor = std::make_unique<XInput2PointerMonitor>();
    services.syntheticInput = std::make_unique<XTestSyntheticInput>();
    return services;
}
