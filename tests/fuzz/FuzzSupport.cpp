#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QFile>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char name[] = "quillora-fuzz";
    static char* argv[] = {name, nullptr};
    // Fatal messages still reach the terminal, and abort right after as always.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qUtf8Printable(message));
    });
    new QCoreApplication(argc, argv); // lives as long as the process, as libFuzzer never returns to main
    return 0;
}

bool FuzzSupport::writeFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes.data(), bytes.size()) == bytes.size();
}
