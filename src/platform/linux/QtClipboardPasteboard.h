#pragma once

#include "core/platform/Pasteboard.h"

// The CLIPBOARD selection through QClipboard. Needs a QGuiApplication.
class QtClipboardPasteboard : public Pasteboard {
public:
    void setText(const QString& text) override;
    QString text() const override;
};
