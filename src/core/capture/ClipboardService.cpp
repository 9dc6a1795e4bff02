#include "core/capture/ClipboardService.h"

#include "core/platform/Pasteboard.h"

#include <QString>

ClipboardService::ClipboardService(Pasteboard& pasteboard)
    : m_pasteboard(pasteboard)
{}

void ClipboardService::copyToClipboard(const QString& text)
{
    m_pasteboard.setText(text);
}
