#pragma once

#include "core/platform/Pasteboard.h"

// The CLIPBOARD and PRIMARY selections through QClipboard. Needs a QGuiApplication. When the program quits, Qt
// hands what it holds on CLIPBOARD to the desktop's clipboard manager, if one runs, as the QGuiApplication goes
// away; PRIMARY ends with the program, as on X11 it always does.
class QtClipboardPasteboard : public Pasteboard {
public:
    void setText(const QString& text) override;
    QString text() const override;
    void setSelectionText(const QString& text) override;
};
