#pragma once

#include "core/platform/HotkeyService.h"

#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

class PortalRequest;

// The capture hotkey of a Wayland session, through the desktop portal's global shortcuts
// (org.freedesktop.portal.GlobalShortcuts): a session is created, the capture shortcut bound with the stored
// combination as its preferred trigger, and each Activated signal of it is a press. The desktop decides the
// trigger in the end (it may ask the person). Where the portal is missing, grab() says so and returns
// NoGlobalShortcuts; the program goes on without a hotkey and `quillora --capture` bound to a desktop shortcut
// starts captures instead.
class PortalGlobalShortcutService : public QObject, public HotkeyService {
    Q_OBJECT

public:
    static constexpr int NoGlobalShortcuts = 11;
    static constexpr const char* ShortcutId = "capture";

    PortalGlobalShortcutService();
    ~PortalGlobalShortcutService() override;

    int grab(quint32 keyCode, quint32 modifiers) override;
    void release() override;
    void setPressHandler(std::function<void()> handler) override;
    // None: the hotkey recorder cannot name keys here, and the desktop decides the trigger.
    std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const override;

    // The combination in the shortcut format of the XDG portals ("CTRL+SHIFT+7"); empty for a key without a name.
    static QString preferredTrigger(quint32 keyCode, quint32 modifiers);

private slots:
    void activated(const QDBusObjectPath& session, const QString& shortcutId, qulonglong timestamp,
                   const QVariantMap& options);

private:
    std::unique_ptr<PortalRequest> m_portal;
    std::function<void()> m_handler;
    QString m_session;
    bool m_toldMissing = false;
};
