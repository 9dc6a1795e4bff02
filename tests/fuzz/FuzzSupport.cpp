#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>

namespace {

void dropMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    // Fatal messages still reach the terminal, and abort right after as always.
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

} // namespace

void FuzzSupport::initialize()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quillora-fuzz";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(dropMessage);
    new QCoreApplication(argc, argv); // lives as long as the process, as libFuzzer never returns to main
}

QString FuzzSupport::temporaryRoot()
{
    return QDir::tempPath() + QStringLiteral("/quillora-fuzz-XXXXXX");
}
