#pragma once

#include "core/platform/SyntheticInput.h"

#include <QStringList>

// Synthetic input that records every request as a line ("move 10,20", "down left", "up left",
// "click right 2 768", "keydown 0 256", "keyup 0 256", "type Hé", "release") instead of posting it.
class FakeSyntheticInput : public SyntheticInput {
public:
    bool isAvailable() const override { return available; }
    QString unavailableReason() const override { return reason; }
    QPointF pointerPosition() const override { return pointer; }
    void movePointer(const QPointF& position) override;
    void buttonDown(MouseButton button) override;
    void buttonUp(MouseButton button) override;
    void click(MouseButton button, int count, quint32 modifiers) override;
    bool keyDown(quint32 keyCode, quint32 modifiers) override;
    bool keyUp(quint32 keyCode, quint32 modifiers) override;
    qsizetype typeText(const QString& text) override;
    void releaseSpareKeys() override;

    bool available = true;
    QString reason;
    QStringList events;
    QPointF pointer;
    // How many typeText calls in a row find every spare key busy and type nothing.
    int busyTypings = 0;
};
