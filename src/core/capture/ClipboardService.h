#pragma once

class AppSettings;
class Pasteboard;
class QString;

// Puts the final text of a capture on the clipboard. Main thread.
class ClipboardService {
public:
    ClipboardService(Pasteboard& pasteboard, const AppSettings& settings);

    // Replaces everything on the clipboard (rich text, images of other programs) with the text as plain text; with
    // "copyToPrimarySelection" on, the text is also what a middle click pastes, as X11 users expect of copied text.
    void copyToClipboard(const QString& text);

private:
    Pasteboard& m_pasteboard;
    const AppSettings& m_settings;
};
