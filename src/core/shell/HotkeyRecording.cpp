#include "core/shell/HotkeyRecording.h"

#include "core/shell/HotkeyText.h"

namespace {

constexpr quint32 EscapeKeyCode = 53;

bool isModifierKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

} // namespace

quint32 HotkeyRecording::modifierMask(Qt::KeyboardModifiers modifiers)
{
    quint32 mask = 0;
    if (modifiers & Qt::ControlModifier)
        mask |= HotkeyText::CommandMask;
    if (modifiers & Qt::ShiftModifier)
        mask |= HotkeyText::ShiftMask;
    if (modifiers & Qt::AltModifier)
        mask |= HotkeyText::OptionMask;
    if (modifiers & Qt::MetaModifier)
        mask |= HotkeyText::ControlMask;
    return mask;
}

HotkeyRecording::Result HotkeyRecording::interpret(int qtKey, Qt::KeyboardModifiers modifiers,
                                                   std::optional<quint32> keyCode)
{
    if (qtKey == Qt::Key_Escape || keyCode == EscapeKeyCode)
        return {Outcome::Cancel};
    if (isModifierKey(qtKey))
        return {Outcome::Ignore};
    const quint32 mask = modifierMask(modifiers);
    if (!(mask & (HotkeyText::CommandMask | HotkeyText::ControlMask)))
        return {Outcome::NeedsCtrl};
    if (!keyCode)
        return {Outcome::UnknownKey};
    return {Outcome::Record, *keyCode, mask};
}
