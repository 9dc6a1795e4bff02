// Runs the real HTTP server with real stores in a private home and a recording application delegate, for
// scripts that talk to it with other tools. Prints "ready <port>" once it listens; ends when standard input
// closes.
//
//   quillora_api_serve [--port N] [--entries N] [--token T]
#include "RecordingAPIDelegate.h"
#include "TestEnvironment.h"
#include "api/HTTPAPIServer.h"
#include "history/HistoryManager.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/linux/JsonFileDefaultsStore.h"
#include "settings/AppSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QImage>
#include <QSocketNotifier>
#include <QTcpServer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    TestEnvironment::setUpPrivateHome();
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.addOption({QStringLiteral("port"), QStringLiteral("Port (0: a free one)."), QStringLiteral("n"), "0"});
    options.addOption({QStringLiteral("entries"), QStringLiteral("History entries to add."), QStringLiteral("n"), "0"});
    options.addOption({QStringLiteral("token"), QStringLiteral("API token."), QStringLiteral("t")});
    options.process(app);

    const QString home = TestEnvironment::home();
    JsonFileDefaultsStore defaults(home + QStringLiteral("/settings.json"));
    FakeLoginItem loginItem;
    AppSettings settings(defaults, loginItem);
    const int entries = options.value(QStringLiteral("entries")).toInt();
    settings.setHistoryMaxEntries(std::max(entries, 50));
    settings.setApiToken(options.value(QStringLiteral("token")));
    HistoryManager history(settings, home + QStringLiteral("/Quillora"));
    for (int i = 0; i < entries; ++i)
        history.addEntry(QStringLiteral("Captured text number %1, a line of ordinary length.").arg(i),
                         QStringLiteral("Monitor %1").arg(i % 2), QImage(), QImage());

    quint16 port = options.value(QStringLiteral("port")).toUShort();
    if (port == 0) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
    }
    RecordingAPIDelegate delegate;
    HTTPAPIServer server(settings, history);
    server.setDelegate(&delegate);
    server.start(port);
    if (!server.isRunning())
        return 1;
    std::printf("ready %u\n", unsigned(port));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    const int result = app.exec();
    server.stop();
    return result;
}
