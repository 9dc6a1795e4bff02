#pragma once

#include "core/platform/Pasteboard.h"

#include <QStringList>

// A clipboard in memory that records every text written to it.
class FakePasteboard : public Pasteboard {
public:
    void setText(const QString& text) override { writes.append(text); }
    QString text() const override { return writes.isEmpty() ? QString() : writes.last(); }

    QStringList writes;
};
