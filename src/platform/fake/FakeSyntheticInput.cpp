#include "platform/fake/FakeSyntheticInput.h"

namespace {

QString buttonName(SyntheticInput::MouseButton button)
{
    switch (button) {
    case SyntheticInput::MouseButton::Left:
        return QStringLiteral("left");
    case SyntheticInput::MouseButton::Right:
        return QStringLiteral("right");
    case SyntheticInput::MouseButton::Middle:
        return QStringLiteral("middle");
    }
    return {};
}

} // namespace

void FakeSyntheticInput::movePointer(const QPointF& position)
{
    pointer = position;
    events.append(QStringLiteral("move %1,%2").arg(position.x()).arg(position.y()));
}

void FakeSyntheticInput::buttonDown(MouseButton button)
{
    events.append(QStringLiteral("down ") + buttonName(button));
}

void FakeSyntheticInput::buttonUp(MouseButton button)
{
    events.append(QStringLiteral("up ") + buttonName(button));
}

void FakeSyntheticInput::click(MouseButton button, int count, quint32 modifiers)
{
    events.append(QStringLiteral("click %1 %2 %3").arg(buttonName(button)).arg(count).arg(modifiers));
}

bool FakeSyntheticInput::keyDown(quint32 keyCode, quint32 modifiers)
{
    events.append(QStringLiteral("keydown %1 %2").arg(keyCode).arg(modifiers));
    return true;
}

bool FakeSyntheticInput::keyUp(quint32 keyCode, quint32 modifiers)
{
    events.append(QStringLiteral("keyup %1 %2").arg(keyCode).arg(modifiers));
    return true;
}

qsizetype FakeSyntheticInput::typeText(const QString& text)
{
    if (busyTypings > 0) {
        --busyTypings;
        return 0;
    }
    events.append(QStringLiteral("type ") + text);
    return text.size();
}

void FakeSyntheticInput::releaseSpareKeys()
{
    events.append(QStringLiteral("release"));
}
