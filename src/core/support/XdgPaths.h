#pragma once

#include <QString>

// The freedesktop base directories of the current user, with the defaults of the XDG Base Directory
// specification when a variable is unset, empty or not absolute.
class XdgPaths {
public:
    static QString configHome(); // $XDG_CONFIG_HOME or ~/.config
    static QString dataHome();   // $XDG_DATA_HOME or ~/.local/share
    static QString stateHome();  // $XDG_STATE_HOME or ~/.local/state

    // The program's own folders inside them.
    static QString settingsFile();   // <config>/Quillora/settings.json
    static QString appDataFolder();  // <data>/Quillora (history.json and Screenshots/)
    static QString appStateFolder(); // <state>/Quillora
    static QString autostartFile();  // <config>/autostart/<application id>.desktop
};
