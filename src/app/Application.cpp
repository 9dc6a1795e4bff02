#include <QGuiApplication>

#include "app/Application.h"

#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "core/shell/SingleInstance.h"
#include "core/shell/TerminationSignals.h"
#include "core/support/XdgPaths.h"
#include "platform/linux/JsonFileDefaultsStore.h"
#include "platform/linux/PlatformServices.h"
#include "platform/linux/QtClipboardPasteboard.h"
#include "platform/linux/TesseractTextRecognizer.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "widgets/shell/AppDelegate.h"
#include "widgets/shell/Localization.h"
#include "widgets/shell/MessageBoxPermissionPrompt.h"

#include <QApplication>
#include <QLocale>
#include <QSystemTrayIcon>

#include <cstdio>
#include <cstring>

namespace {

void printError(const QString& line)
{
    std::fprintf(stderr, "quillora: %s\n", line.toLocal8Bit().constData());
}

bool hasOption(int argc, char** argv, const char* option)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

void setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillora"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLORA_VERSION));
}

} // namespace

int Application::main(int argc, char** argv)
{
    // The same facts as the manual page, quillora(1), in short.
    if (hasOption(argc, argv, "--help") || hasOption(argc, argv, "-h")) {
        std::printf("Usage: quillora [--capture | --sidebar]\n"
                    "       quillora --recognize FILE...\n"
                    "       quillora [-h | --help | --version]\n\n"
                    "Copies text from anywhere on the screen: press Ctrl+Shift+7 or use the tray menu, drag a\n"
                    "rectangle around the text, correct it in the editor, and it is on the clipboard.\n\n"
                    "Options:\n"
                    "  --capture            ask the running Quillora to start a capture (bind it to a shortcut of\n"
                    "                       your desktop where a global hotkey is not possible)\n"
                    "  --sidebar            ask the running Quillora to show or hide the history sidebar\n"
                    "  --recognize FILE...  print the text of image files (- reads standard input); needs no\n"
                    "                       display and no running Quillora\n"
                    "  -h, --help           print this help\n"
                    "  --version            print the version\n\n"
                    "Exit status: 0 success; 1 the running Quillora could not be reached, or a file could not be\n"
                    "read or recognised; 2 an unknown option, or --recognize without a file.\n\n"
                    "Environment: LANGUAGE and LANG choose the languages of the windows and of recognition,\n"
                    "TESSDATA_PREFIX the recognition data, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME,\n"
                    "XDG_CACHE_HOME and XDG_RUNTIME_DIR where files are kept; QUILLORA_DEBUG_LOG traces the\n"
                    "selection overlay into a file, QUILLORA_LOG_STDERR=1 copies the system log lines to standard\n"
                    "error, QT_LOGGING_RULES switches the quillora.* logging categories.\n\n"
                    "Files, the HTTP API and more: man quillora\n");
        return 0;
    }
    if (hasOption(argc, argv, "--version")) {
        std::printf("Quillora %s\n"
                    "Copyright (c) the Quillora contributors. MIT License.\n",
                    QUILLORA_VERSION);
        return 0;
    }
    if (hasOption(argc, argv, CaptureOption))
        return sendRequest(argc, argv, SingleInstance::CaptureRequest, CaptureOption);
    if (hasOption(argc, argv, SidebarOption))
        return sendRequest(argc, argv, SingleInstance::SidebarRequest, SidebarOption);
    for (int i = 1; i < argc; ++i) {
        // Qt's own options (-platform, -display ...) are taken by QApplication; anything else is a mistake.
        if (argv[i][0] == '-' && argv[i][1] == '-') {
            printError(QStringLiteral("unknown option %1 (see --help)").arg(QString::fromLocal8Bit(argv[i])));
            return 2;
        }
    }
    return run(argc, argv);
}

int Application::sendRequest(int argc, char** argv, const char* request, const char* option)
{
    QCoreApplication app(argc, argv);
    setIdentity();
    SingleInstance instance(SingleInstance::defaultFolder());
    QString error;
    switch (instance.send(QString::fromLatin1(request), &error)) {
    case SingleInstance::SendResult::Delivered:
        return 0;
    case SingleInstance::SendResult::NoInstance:
        printError(
            QStringLiteral("Quillora is not running. Start Quillora first, then use %1.").arg(QLatin1String(option)));
        return 1;
    case SingleInstance::SendResult::Failed:
        break;
    }
    printError(QStringLiteral("could not reach the running Quillora: %1").arg(error));
    return 1;
}

int Application::run(int argc, char** argv)
{
    QApplication app(argc, argv);
    setIdentity();
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLORA_APP_ID));
    // A tray program: closing its last window (the About window, the editor) does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString language = Localization::install(app, QLocale::system());

    SingleInstance instance(SingleInstance::defaultFolder());
    QString error;
    if (!instance.becomePrimary(&error)) {
        if (!error.isEmpty()) {
            printError(QStringLiteral("cannot check for a running Quillora: %1").arg(error));
            return 1;
        }
        QString sendError;
        if (instance.send(QString::fromLatin1(SingleInstance::ActivateRequest), &sendError) ==
            SingleInstance::SendResult::Delivered) {
            std::printf("Quillora is already running.\n");
            return 0;
        }
        printError(QStringLiteral("another Quillora holds the instance lock but does not answer: %1").arg(sendError));
        return 1;
    }

    JsonFileDefaultsStore defaults(XdgPaths::settingsFile());
    XdgAutostartLoginItem loginItem(QCoreApplication::applicationFilePath());
    AppSettings settings(defaults, loginItem);
    HistoryManager history(settings, XdgPaths::appDataFolder());
    PlatformServices platform = PlatformServices::create(QGuiApplication::platformName());
    const QString tessdata = TesseractTextRecognizer::defaultDataPath();
    TesseractTextRecognizer recognizer(tessdata, TesseractTextRecognizer::defaultLanguages(tessdata));
    QtClipboardPasteboard pasteboard;
    MessageBoxPermissionPrompt permissionPrompt(language);

    AppDelegate delegate({
        .settings = settings,
        .history = history,
        .displayCapture = *platform.displayCapture,
        .hotkeyService = *platform.hotkeyService,
        .textRecognizer = recognizer,
        .pasteboard = pasteboard,
        .permissionPrompt = permissionPrompt,
        // Queued: the launch may decide to quit before the event loop runs, and quit() needs a running loop.
        .terminate = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); },
        .isSystemTrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); },
        .pointerMonitor = platform.pointerMonitor.get(),
        .syntheticInput = platform.syntheticInput.get(),
        .windowsPlaceThemselves = platform.windowsPlaceThemselves,
    });
    QObject::connect(&instance, &SingleInstance::requestReceived, &delegate, &AppDelegate::handleInstanceRequest);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &app, &QCoreApplication::quit);
    QMetaObject::invokeMethod(&delegate, &AppDelegate::applicationDidFinishLaunching, Qt::QueuedConnection);
    return app.exec();
}
