#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that never leave a half-written file behind: the bytes go to a temporary file in the same
// folder (".<name>.tmp"), are flushed to the disk, and replace the target by a rename, which is itself made
// durable by flushing the folder. After a crash or a power loss the file holds the old or the new bytes. The
// file is readable by its owner only (0600).
class AtomicFile {
public:
    // Returns false and sets *error (when given) on failure; the previous content then stays as it was.
    static bool write(const QString& path, const QByteArray& bytes, QString* error = nullptr);

    // The temporary file a write of path uses; one left by a crash is removed by removeLeftover.
    static QString temporaryPath(const QString& path);
    static void removeLeftover(const QString& path);

    // Moves a file that could not be read aside to "<path>.bad-<UTC timestamp>" so that nothing overwrites it.
    // Returns the new path, or an empty text when the move failed.
    static QString moveAside(const QString& path);
};
