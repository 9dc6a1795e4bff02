#pragma once

#include <QString>

// The program's own folders (settings, history, screenshots): made readable by their owner only, and cleaned
// without ever following a symbolic link out of them.
class PrivateFolder {
public:
    // Creates every missing folder of the path with mode 0700; folders that exist keep their mode. Returns an
    // error description, or an empty text on success.
    static QString make(const QString& path);

    // Removes the file `name` (a bare name) from the folder. The folder is opened without following a link
    // (O_NOFOLLOW | O_DIRECTORY) and the file removed relative to it, so a folder replaced by a link to another
    // place never lets a deletion reach there. Returns true when the file was removed; a file that is not there
    // sets no error.
    static bool removeFile(const QString& folder, const QString& name, QString* error = nullptr);
};
