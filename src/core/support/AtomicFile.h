#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that never leave a half-written file behind: the bytes go to a temporary file in the same
// folder, are flushed, and replace the target by a rename. The file is readable by its owner only (0600).
class AtomicFile {
public:
    // Returns false and sets *error (when given) on failure; the previous content then stays as it was.
    static bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

    // Moves a file that could not be read aside to "<path>.bad-<UTC timestamp>" so that nothing overwrites it.
    // Returns the new path, or an empty text when the move failed.
    static QString moveAside(const QString& path);
};
