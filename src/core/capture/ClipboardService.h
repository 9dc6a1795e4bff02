#pragma once

class Pasteboard;
class QString;

// Puts the final text of a capture on the clipboard. Main thread.
class ClipboardService {
public:
    explicit ClipboardService(Pasteboard& pasteboard);

    // Replaces everything on the clipboard (rich text, images of other programs) with the text as plain text.
    void copyToClipboard(const QString& text);

private:
    Pasteboard& m_pasteboard;
};
