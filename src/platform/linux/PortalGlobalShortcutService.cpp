#include "platform/linux/PortalGlobalShortcutService.h"

#include "core/shell/HotkeyText.h"
#include "core/support/Log.h"
#include "platform/linux/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace {

const QString Interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
// Binding may wait for the person to confirm the shortcut in the desktop's dialog.
constexpr std::chrono::milliseconds BindTimeout{60000};

struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(Shortcut)

PortalGlobalShortcutService::PortalGlobalShortcutService()
    : m_portal(std::make_unique<PortalRequest>())
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

PortalGlobalShortcutService::~PortalGlobalShortcutService()
{
    release();
}

QString PortalGlobalShortcutService::preferredTrigger(quint32 keyCode, quint32 modifiers)
{
    const std::optional<Qt::Key> key = HotkeyText::qtKey(keyCode);
    if (!key)
        return {};
    QString name = QKeySequence(*key).toString(QKeySequence::PortableText);
    if (name.isEmpty())
        return {};
    QStringList parts;
    // The program's command is the Ctrl key on Linux, its control the Super key, its option Alt.
    if (modifiers & HotkeyText::CommandMask)
        parts << QStringLiteral("CTRL");
    if (modifiers & HotkeyText::OptionMask)
        parts << QStringLiteral("ALT");
    if (modifiers & HotkeyText::ShiftMask)
        parts << QStringLiteral("SHIFT");
    if (modifiers & HotkeyText::ControlMask)
        parts << QStringLiteral("LOGO");
    parts << name;
    return parts.join(QLatin1Char('+'));
}

int PortalGlobalShortcutService::grab(quint32 keyCode, quint32 modifiers)
{
    release();
    if (!PortalRequest::hasInterface(Interface)) {
        if (!m_toldMissing)
            qCInfo(lcHotkey).noquote() << QStringLiteral(
                "⚠️ This desktop offers no global shortcuts portal, so Quillora has no hotkey here. Bind "
                "\"quillora --capture\" to a shortcut in the desktop's keyboard settings to start captures.");
        m_toldMissing = true;
        return NoGlobalShortcuts;
    }

    const PortalRequest::Result created =
        m_portal->call(Interface, QStringLiteral("CreateSession"), {},
                       {{QStringLiteral("session_handle_token"), QStringLiteral("quillora")}}, BindTimeout);
    const QString session = created.results.value(QStringLiteral("session_handle")).toString();
    if (created.outcome != PortalRequest::Outcome::Answered || session.isEmpty()) {
        qCWarning(lcHotkey).noquote()
            << QStringLiteral("⚠️ The global shortcuts portal gave no session: %1").arg(created.error);
        return NoGlobalShortcuts;
    }
    m_session = session;
    QDBusConnection::sessionBus().connect(
        QString::fromLatin1(PortalRequest::Service), QString::fromLatin1(PortalRequest::ObjectPath), Interface,
        QStringLiteral("Activated"), this, SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));

    QVariantMap properties{{QStringLiteral("description"), QStringLiteral("Capture text from the screen")}};
    const QString trigger = preferredTrigger(keyCode, modifiers);
    if (!trigger.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), trigger);
    const QList<Shortcut> shortcuts{{QString::fromLatin1(ShortcutId), properties}};
    const PortalRequest::Result bound = m_portal->call(
        Interface, QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(shortcuts), QString()}, {}, BindTimeout);
    if (bound.outcome != PortalRequest::Outcome::Answered) {
        qCWarning(lcHotkey).noquote()
            << QStringLiteral("⚠️ The desktop did not bind the capture shortcut: %1").arg(bound.error);
        release();
        return bound.outcome == PortalRequest::Outcome::Refused ? HeldByAnotherClient : NoGlobalShortcuts;
    }
    qCInfo(lcHotkey).noquote()
        << QStringLiteral("✅ Capture shortcut bound through the desktop portal (%1)").arg(trigger);
    return 0;
}

void PortalGlobalShortcutService::release()
{
    if (m_session.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(QString::fromLatin1(PortalRequest::Service), QString::fromLatin1(PortalRequest::ObjectPath),
                   Interface, QStringLiteral("Activated"), this,
                   SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bus.call(QDBusMessage::createMethodCall(QString::fromLatin1(PortalRequest::Service), m_session,
                                            QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")),
             QDBus::NoBlock);
    m_session.clear();
}

void PortalGlobalShortcutService::setPressHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

std::optional<quint32> PortalGlobalShortcutService::keyCodeOfKey(quint32, quint32) const
{
    // Without the compositor's keymap a scan code names no key; the desktop chooses the trigger anyway.
    return std::nullopt;
}

void PortalGlobalShortcutService::activated(const QDBusObjectPath& session, const QString& shortcutId, qulonglong,
                                            const QVariantMap&)
{
    if (session.path() != m_session || shortcutId != QLatin1String(ShortcutId) || !m_handler)
        return;
    m_handler();
}
