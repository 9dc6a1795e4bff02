#include "core/capture/ClipboardService.h"

#include "core/platform/Pasteboard.h"
#include "core/settings/AppSettings.h"

#include <QString>

ClipboardService::ClipboardService(Pasteboard& pasteboard, const AppSettings& settings)
    : m_pasteboard(pasteboard)
    , m_settings(settings)
{}

void ClipboardService::copyToClipboard(const QString& text)
{
    m_pasteboard.setText(text);
    if (m_settings.copyToPrimarySelection())
        m_pasteboard.setSelectionText(text);
}
