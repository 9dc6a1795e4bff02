#pragma once

#include <QLoggingCategory>
#include <QString>

#include <functional>

// One category per subsystem. QT_LOGGING_RULES switches them like any Qt category, for example
// "quillora.capture.debug=false" to keep the capture's detail lines out of the system log.
Q_DECLARE_LOGGING_CATEGORY(lcApp)          // quillora.app: start-up, terms, permission, tray
Q_DECLARE_LOGGING_CATEGORY(lcApi)          // quillora.api: the HTTP server
Q_DECLARE_LOGGING_CATEGORY(lcCapture)      // quillora.capture: a capture from the start to the clipboard
Q_DECLARE_LOGGING_CATEGORY(lcHistory)      // quillora.history: the history file and its screenshots
Q_DECLARE_LOGGING_CATEGORY(lcHotkey)       // quillora.hotkey: the global hotkey
Q_DECLARE_LOGGING_CATEGORY(lcOverlay)      // quillora.overlay: the overlay windows and the selection view
Q_DECLARE_LOGGING_CATEGORY(lcOverlayTrace) // quillora.overlay.trace: the debug file (see below)
Q_DECLARE_LOGGING_CATEGORY(lcRecognition)  // quillora.recognition: the recognition workers
Q_DECLARE_LOGGING_CATEGORY(lcSettings)     // quillora.settings: the settings file and open at login

// The program's message handler: the one place that decides which channel a line of ours goes to.
//
//   qCInfo                   standard output: the progress lines a user running Quillora in a terminal reads.
//   qCDebug                  the system log (syslog, ident "quillora"), LOG_INFO: detail lines.
//   qCWarning                the system log, LOG_WARNING: something failed and the program carries on.
//   qCCritical               the system log, LOG_ERR: something the user had is lost or was not saved.
//   quillora.overlay.trace   the debug file (DebugLogFile); the category is off unless QUILLORA_DEBUG_LOG is set.
//
// With QUILLORA_LOG_STDERR=1 system-log lines are copied to standard error (scripts and end-to-end tests cannot
// read the system log of a sandbox). Lines are written as they stand, without a category or quotes: stream one
// text with .noquote(). Messages of other categories (Qt's own) go on to the handler installed before.
class Log {
public:
    enum class Channel { System, Out, DebugFile };
    using Sink = std::function<void(Channel, QtMsgType, const QString&)>;

    // Installs the handler and the category filter the first time; every call reads QUILLORA_LOG_STDERR and
    // QUILLORA_DEBUG_LOG again.
    static void install();
    // Replaces the real channels (tests); an empty sink restores them. Thread-safe.
    static void setSink(Sink sink);
};
