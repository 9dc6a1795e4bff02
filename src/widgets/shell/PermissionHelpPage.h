#pragma once

#include <QString>
#include <QUrl>

// The page that explains how to let Quillora capture the screen (X11 versus Wayland, reaching the display).
// It ships inside the program; a browser needs a real file, so the page is written out next to the user's
// cache before it is opened.
class PermissionHelpPage {
public:
    // Writes the page for the language ("en", "de"; anything else gives English) into folder and returns its
    // file:// URL, or an empty URL when the file cannot be written.
    static QUrl materialize(const QString& language, const QString& folder);
    // The folder used by the program: $XDG_CACHE_HOME/Quillora (default ~/.cache/Quillora).
    static QString defaultFolder();
};
