#pragma once

#include <QString>

// The selection overlay's diagnostic file, for tracking down selection and focus problems on a user's desktop.
// Off unless QUILLORA_DEBUG_LOG is set in the environment; then each line is appended to quillora-debug.log
// in the program's state folder, stamped with the local time. The file is private to the user and never
// followed through a symbolic link, so nobody else can read it or redirect it. Lines carry geometry and
// state only, never captured text.
class DebugLogFile {
public:
    static bool isEnabled();
    static QString path();

    // Appends one line when enabled; a line that cannot be written is dropped.
    static void append(const QString& message);
};
