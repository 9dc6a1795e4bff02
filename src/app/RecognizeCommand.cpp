#include "app/RecognizeCommand.h"

#include "core/capture/TextCleanup.h"
#include "core/platform/TextRecognizer.h"
#include "core/settings/AppSettings.h"
#include "core/support/RegularFile.h"
#include "core/support/XdgPaths.h"
#include "platform/linux/JsonFileDefaultsStore.h"
#include "platform/linux/TesseractTextRecognizer.h"
#include "platform/linux/XdgAutostartLoginItem.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

QImage readImage(const QString& file, QString* error)
{
    // Files and standard input alike: a regular file or a stream of bounded size, never a FIFO that waits for a
    // writer, a device that never ends or a folder.
    const RegularFile::Result read = file == QLatin1String("-")
                                         ? RegularFile::readStream(STDIN_FILENO, RecognizeCommand::MaxImageBytes)
                                         : RegularFile::read(file, RecognizeCommand::MaxImageBytes);
    if (read.status != RegularFile::Status::Read) {
        *error = read.error;
        return QImage();
    }
    QBuffer buffer;
    buffer.setData(read.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Screenshots and photos of screens may carry a rotation; read the text the way it is shown.
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        *error = reader.errorString();
    return image;
}

} // namespace

RecognizeCommand::RecognizeCommand(TextRecognizer& recognizer, const AppSettings& settings, QTextStream& out,
                                   QTextStream& err)
    : m_recognizer(recognizer)
    , m_settings(settings)
    , m_out(out)
    , m_err(err)
{}

int RecognizeCommand::run(const QStringList& files)
{
    if (files.isEmpty()) {
        m_err << "usage: quillora --recognize FILE...\n";
        m_err.flush();
        return 2;
    }
    const bool headers = files.size() > 1;
    bool failed = false;
    bool first = true;
    for (const QString& file : files) {
        QString error;
        const QImage image = readImage(file, &error);
        if (image.isNull()) {
            m_err << "quillora: cannot read " << file << ": " << error << '\n';
            m_err.flush();
            failed = true;
            continue;
        }
        const QString text = m_recognizer.recognize(image, &error);
        if (!error.isEmpty()) {
            m_err << "quillora: cannot recognise " << file << ": " << error << '\n';
            m_err.flush();
            failed = true;
            continue;
        }
        const QString cleaned = TextCleanup::clean(text, m_settings);
        if (headers) {
            if (!first)
                m_out << '\n';
            m_out << "==> " << file << " <==\n";
        }
        if (!cleaned.isEmpty())
            m_out << cleaned << '\n';
        m_out.flush();
        first = false;
    }
    return failed ? 1 : 0;
}

bool RecognizeCommand::isRequested(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], Option) == 0;
}

int RecognizeCommand::main(int argc, char** argv)
{
    // Image files need no display, but drawing the text of an SVG needs Qt's font database, which only a GUI
    // application has: one on the offscreen platform reads every format on any machine, also over ssh. It gets
    // no arguments of its own, so that a file named like a Qt option (-display, -platform) stays a file.
    // The models load while the rest starts up and the first image is read.
    const QString dataPath = TesseractTextRecognizer::defaultDataPath();
    TesseractTextRecognizer recognizer(dataPath, TesseractTextRecognizer::defaultLanguages(dataPath));
    if (argc > 2)
        recognizer.prepareEngines();

    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QStringList files;
    for (int i = 2; i < argc; ++i)
        files.append(QString::fromLocal8Bit(argv[i]));

    JsonFileDefaultsStore defaults(XdgPaths::settingsFile());
    XdgAutostartLoginItem loginItem(QCoreApplication::applicationFilePath());
    const AppSettings settings(defaults, loginItem);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = RecognizeCommand(recognizer, settings, out, err).run(files);
    out.flush();
    err.flush();
    std::fflush(nullptr);
    // Everything is written. Taking the engines apart (their models are hundreds of thousands of small
    // allocations) and the application object would only make the caller wait longer for the exit status.
    std::_Exit(status);
}
