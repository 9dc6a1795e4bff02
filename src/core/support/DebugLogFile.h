#pragma once

#include <QString>

// The selection overlay's diagnostic file, for tracking down selection and focus problems on a user's desktop:
// quillora-debug.log in the program's state folder, each line stamped with the local time. The file is private
// to the user and never followed through a symbolic link, so nobody else can read it or redirect it. Only the
// message handler writes it, with the lines of the quillora.overlay.trace category, which is off unless
// QUILLORA_DEBUG_LOG is set. Those lines carry geometry and state only, never captured text.
class DebugLogFile {
public:
    // The environment variable that switches the file on.
    static constexpr const char* EnableVariable = "QUILLORA_DEBUG_LOG";

    static QString path();

    // Appends one line; a line that cannot be written is dropped.
    static void append(const QString& message);
};
