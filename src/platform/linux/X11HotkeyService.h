#pragma once

#include "core/platform/HotkeyService.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>

#include <memory>
#include <optional>

class X11KeyReleaseMonitor;

// The global hotkey on X11: a passive key grab on the root window through Qt's own X connection, made for the
// combination and for each of its NumLock, CapsLock and ScrollLock variants (X matches the lock modifiers
// exactly, so without the variants no press arrives while NumLock is on). Key events are taken out of Qt's event
// stream by a native event filter; the press handler runs on the main thread from the event loop.
class X11HotkeyService : public QObject, public HotkeyService, public QAbstractNativeEventFilter {
public:
    // Statuses of grab() besides the X error codes (10, BadAccess: another client holds the combination).
    enum Status : int {
        NoDisplay = -1,  // the application does not run on an X11 display
        UnknownKey = -2, // the key code names no key of this keyboard
    };

    explicit X11HotkeyService(QObject* parent = nullptr);
    ~X11HotkeyService() override;

    int grab(quint32 keyCode, quint32 modifiers) override;
    void release() override;
    void setPressHandler(std::function<void()> handler) override;
    std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct KeyGrab {
        quint8 keycode;
        quint16 modifiers;
    };
    struct Combination {
        quint32 keyCode;
        quint32 modifiers;
    };

    int grabVariants(const Combination& combination);
    void ungrabAll();
    void deliverPress();
    void regrabAfterMappingChange();
    bool isRepeat(quint32 time);

    QList<KeyGrab> m_grabs;
    QList<quint8> m_keycodes;
    quint16 m_xModifiers = 0;
    std::optional<Combination> m_combination;
    std::function<void()> m_handler;
    // A held key repeats; only its first press counts. Repeats arrive either as further presses (detectable
    // auto-repeat) or as release and press pairs with the same time stamp.
    bool m_keyDown = false;
    quint32 m_lastReleaseTime = 0;
    quint32 m_pressTime = 0; // of the last press delivered
    std::unique_ptr<X11KeyReleaseMonitor> m_releases;
    bool m_regrabQueued = false;
};
