#pragma once

#include "core/platform/HotkeyService.h"

#include <QHash>
#include <QPair>
#include <QStringList>

#include <optional>

// A hotkey service that records every call ("grab 26 768", "release", "handler set", "handler cleared").
// Combinations listed in heldByOthers are refused with the window system's access-denied status, as when another
// client holds them; pressCombination() plays a press as the window system would deliver it. keyCodeOfKey() answers
// from keysByScanCode, whatever the modifiers.
class FakeHotkeyService : public HotkeyService {
public:
    using Combination = QPair<quint32, quint32>; // key code, modifiers

    static constexpr int BadAccess = HeldByAnotherClient;

    int grab(quint32 keyCode, quint32 modifiers) override;
    void release() override;
    void setPressHandler(std::function<void()> handler) override;
    std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const override;

    // Delivers a press when the combination is grabbed and a handler is set; returns whether one was delivered.
    bool pressCombination(quint32 keyCode, quint32 modifiers);

    QList<Combination> heldByOthers;
    // When not 0, every grab is refused with this status, as on a desktop that gives no global hotkey at all.
    int refuseAllWith = 0;
    QStringList calls;
    std::optional<Combination> grabbed;
    QHash<quint32, quint32> keysByScanCode; // native scan code -> key code
    bool hasPressHandler() const { return bool(m_handler); }

private:
    std::function<void()> m_handler;
};
