#include "platform/fake/FakeHotkeyService.h"

int FakeHotkeyService::grab(quint32 keyCode, quint32 modifiers)
{
    calls.append(QStringLiteral("grab %1 %2").arg(keyCode).arg(modifiers));
    const Combination combination(keyCode, modifiers);
    if (refuseAllWith != 0)
        return refuseAllWith;
    if (heldByOthers.contains(combination))
        return BadAccess;
    grabbed = combination;
    return 0;
}

void FakeHotkeyService::release()
{
    calls.append(QStringLiteral("release"));
    grabbed.reset();
}

void FakeHotkeyService::setPressHandler(std::function<void()> handler)
{
    calls.append(handler ? QStringLiteral("handler set") : QStringLiteral("handler cleared"));
    m_handler = std::move(handler);
}

std::optional<quint32> FakeHotkeyService::keyCodeOfKey(quint32 nativeScanCode, quint32) const
{
    if (!keysByScanCode.contains(nativeScanCode))
        return std::nullopt;
    return keysByScanCode.value(nativeScanCode);
}

bool FakeHotkeyService::pressCombination(quint32 keyCode, quint32 modifiers)
{
    if (!grabbed || *grabbed != Combination(keyCode, modifiers) || !m_handler)
        return false;
    // The handler may replace itself while it runs.
    const std::function<void()> handler = m_handler;
    handler();
    return true;
}
