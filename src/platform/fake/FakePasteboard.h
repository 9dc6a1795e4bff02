#pragma once

#include "core/platform/Pasteboard.h"

#include <QStringList>

// A clipboard and a middle-click selection in memory, recording every text written to them.
class FakePasteboard : public Pasteboard {
public:
    void setText(const QString& text) override { writes.append(text); }
    QString text() const override { return writes.isEmpty() ? QString() : writes.last(); }
    void setSelectionText(const QString& text) override { selectionWrites.append(text); }

    QStringList writes;
    QStringList selectionWrites;
};
