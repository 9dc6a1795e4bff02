#pragma once

#include "core/platform/SyntheticInput.h"

// Synthetic input for a session that accepts none: unavailable, with the reason the API gives its callers. Every
// other call does nothing.
class RefusedSyntheticInput : public SyntheticInput {
public:
    explicit RefusedSyntheticInput(QString reason);

    bool isAvailable() const override { return false; }
    QString unavailableReason() const override { return m_reason; }
    QPointF pointerPosition() const override { return {}; }
    void movePointer(const QPointF&) override {}
    void buttonDown(MouseButton) override {}
    void buttonUp(MouseButton) override {}
    void click(MouseButton, int, quint32) override {}
    bool keyDown(quint32, quint32) override { return false; }
    bool keyUp(quint32, quint32) override { return false; }
    // Nothing is left for a later attempt: the routes refuse before any text gets here.
    qsizetype typeText(const QString& text) override { return text.size(); }
    void releaseSpareKeys() override {}

private:
    QString m_reason;
};
