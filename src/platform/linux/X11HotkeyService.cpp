#include "platform/linux/X11HotkeyService.h"
#include <QGuiApplication>

#include "core/support/Log.h"
#include "platform/linux/X11KeyReleaseMonitor.h"
#include "platform/linux/X11KeyTable.h"
#include "platform/linux/XcbReply.h"

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

xcb_connection_t* qtConnection()
{
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* connection)
{
    int screenNumber = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screenNumber))
        std::free(host);
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 1; ++i)
        xcb_screen_next(&screens);
    return screens.rem ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// The modifier bit (Mod1..Mod5) that a lock key such as Num_Lock is mapped to, or 0 when it is not mapped.
quint16 modifierOfKeysym(xcb_connection_t* connection, xcb_key_symbols_t* symbols, xcb_keysym_t keysym)
{
    XcbReply<xcb_keycode_t> keycodes(xcb_key_symbols_get_keycode(symbols, keysym));
    if (!keycodes)
        return 0;
    XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!mapping)
        return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < perModifier; ++i)
            for (const xcb_keycode_t* code = keycodes.get(); *code != XCB_NO_SYMBOL; ++code)
                if (codes[modifier * perModifier + i] == *code)
                    return quint16(1 << modifier);
    return 0;
}

} // namespace

X11HotkeyService::X11HotkeyService(QObject* parent)
    : QObject(parent)
    , m_releases(std::make_unique<X11KeyReleaseMonitor>())
{
    if (qApp)
        qApp->installNativeEventFilter(this);
}

X11HotkeyService::~X11HotkeyService()
{
    release();
    if (qApp)
        qApp->removeNativeEventFilter(this);
}

int X11HotkeyService::grab(quint32 keyCode, quint32 modifiers)
{
    release();
    const int status = grabVariants({keyCode, modifiers});
    if (status == 0)
        m_combination = Combination{keyCode, modifiers};
    return status;
}

int X11HotkeyService::grabVariants(const Combination& combination)
{
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return NoDisplay;
    const std::optional<quint32> keysym = X11KeyTable::keysym(combination.keyCode);
    if (!keysym)
        return UnknownKey;
    const xcb_window_t root = rootWindow(connection);

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    QList<quint8> keycodes;
    if (XcbReply<xcb_keycode_t> codes{xcb_key_symbols_get_keycode(symbols, *keysym)})
        for (const xcb_keycode_t* code = codes.get(); *code != XCB_NO_SYMBOL; ++code)
            if (!keycodes.contains(*code))
                keycodes.append(*code);
    const quint16 numLock = modifierOfKeysym(connection, symbols, XK_Num_Lock);
    const quint16 scrollLock = modifierOfKeysym(connection, symbols, XK_Scroll_Lock);
    xcb_key_symbols_free(symbols);
    if (keycodes.isEmpty())
        return UnknownKey;

    QList<quint16> locks{0, XCB_MOD_MASK_LOCK};
    for (const quint16 lock : {numLock, scrollLock}) {
        if (lock == 0 || locks.contains(lock))
            continue;
        const qsizetype count = locks.size();
        for (qsizetype i = 0; i < count; ++i)
            locks.append(locks[i] | lock);
    }

    const quint16 xModifiers = X11KeyTable::xModifiers(combination.modifiers);
    QList<KeyGrab> requested;
    QList<xcb_void_cookie_t> cookies;
    for (const quint8 keycode : keycodes)
        for (const quint16 lock : locks) {
            requested.append({keycode, quint16(xModifiers | lock)});
            cookies.append(xcb_grab_key_checked(connection, true, root, xModifiers | lock, keycode, XCB_GRAB_MODE_ASYNC,
                                                XCB_GRAB_MODE_ASYNC));
        }
    // Only the checked requests report a grab that another client holds (BadAccess); every variant is checked so
    // that a refusal leaves none of them behind.
    int status = 0;
    for (qsizetype i = 0; i < cookies.size(); ++i) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(connection, cookies[i]));
        if (error) {
            if (status == 0)
                status = error->error_code;
        } else {
            m_grabs.append(requested[i]);
        }
    }
    if (status != 0) {
        ungrabAll();
        return status;
    }
    m_keycodes = keycodes;
    m_xModifiers = xModifiers;
    m_keyDown = false;
    m_lastReleaseTime = 0;
    m_releases->watch(keycodes);
    return 0;
}

void X11HotkeyService::ungrabAll()
{
    xcb_connection_t* connection = qtConnection();
    if (connection && !m_grabs.isEmpty()) {
        const xcb_window_t root = rootWindow(connection);
        for (const KeyGrab& grab : std::as_const(m_grabs))
            xcb_ungrab_key(connection, grab.keycode, root, grab.modifiers);
        xcb_flush(connection);
    }
    m_grabs.clear();
    m_keycodes.clear();
    m_releases->stop();
}

void X11HotkeyService::release()
{
    ungrabAll();
    m_combination.reset();
    m_keyDown = false;
}

void X11HotkeyService::setPressHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

std::optional<quint32> X11HotkeyService::keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const
{
    xcb_connection_t* connection = qtConnection();
    if (!connection || nativeScanCode < 8 || nativeScanCode > 255)
        return std::nullopt;
    // The core keymap lists each key's symbols by group and level: the first group's unshifted symbol in column 0,
    // the second group's in column 2. The event state carries the active group in bits 13 and 14. A key whose
    // symbol in the active group is none of ours (a Cyrillic letter, say) is taken by its first group's symbol.
    const quint32 group = (nativeModifiers >> 13) & 3;
    const int columns[] = {group == 1 ? 2 : 0, 0};
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    std::optional<quint32> keyCode;
    for (const int column : columns) {
        const xcb_keysym_t keysym = xcb_key_symbols_get_keysym(symbols, xcb_keycode_t(nativeScanCode), column);
        if (keysym != XCB_NO_SYMBOL && (keyCode = X11KeyTable::keyCode(keysym)))
            break;
    }
    xcb_key_symbols_free(symbols);
    return keyCode;
}

void X11HotkeyService::deliverPress()
{
    // Queued, so that whatever the handler does (a modal alert, a new registration) runs outside Qt's event
    // dispatch; the handler is looked up when it runs, so a press pending at release() calls nothing.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_combination || !m_handler)
                return;
            const std::function<void()> handler = m_handler;
            handler();
        },
        Qt::QueuedConnection);
}

bool X11HotkeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (m_keycodes.isEmpty() || !m_keycodes.contains(key->detail))
            return false;
        const bool toRoot = key->event == key->root;
        // A release ends the press wherever it arrives: a window of ours that took the keyboard meanwhile (the
        // capture overlay does so when it appears) gets it instead of the grab on the root window. The modifiers
        // may be let go before the key, so a release counts whatever they are.
        if ((event->response_type & 0x7f) == XCB_KEY_RELEASE) {
            m_keyDown = false;
            m_lastReleaseTime = key->time;
            return toRoot;
        }
        // Presses to a window of ours that holds the keyboard are that window's keys, not the hotkey.
        if (!toRoot || (key->state & (XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4)) !=
                           m_xModifiers)
            return false;
        if (!isRepeat(key->time)) {
            m_pressTime = key->time;
            deliverPress();
        }
        m_keyDown = true;
        return true;
    }
    case XCB_MAPPING_NOTIFY: {
        // A new keyboard layout may move the key; grab it again where it now is.
        const auto* mapping = reinterpret_cast<const xcb_mapping_notify_event_t*>(event);
        if (m_combination && mapping->request != XCB_MAPPING_POINTER && !m_regrabQueued) {
            m_regrabQueued = true;
            QMetaObject::invokeMethod(this, &X11HotkeyService::regrabAfterMappingChange, Qt::QueuedConnection);
        }
        return false;
    }
    default:
        return false;
    }
}

bool X11HotkeyService::isRepeat(quint32 time)
{
    // Auto-repeat sends a release and a press with the same time stamp.
    const bool paired = m_lastReleaseTime != 0 && time == m_lastReleaseTime;
    if (!m_keyDown && !paired)
        return false;
    // Either a repeat, or the key was let go while another client held the keyboard (after our own window gave
    // it back, say) and its release never reached us: only the raw releases tell, which arrive whoever holds it.
    // Only those before this press count: a repeat may be read after the key was let go.
    if (const std::optional<bool> released = m_releases->releasedBetween(m_pressTime, time))
        return !*released;
    return true;
}

void X11HotkeyService::regrabAfterMappingChange()
{
    m_regrabQueued = false;
    if (!m_combination)
        return;
    const Combination combination = *m_combination;
    ungrabAll();
    const int status = grabVariants(combination);
    if (status != 0) {
        m_combination.reset();
        qCWarning(lcHotkey).noquote() << QStringLiteral("Hotkey lost after a keyboard mapping change: %1").arg(status);
    }
}
