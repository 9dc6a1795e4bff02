#include "app/RecognizeCommand.h"

#include "core/capture/TextCleanup.h"
#include "core/platform/TextRecognizer.h"
#include "core/settings/AppSettings.h"
#include "core/support/XdgPaths.h"
#include "platform/linux/JsonFileDefaultsStore.h"
#include "platform/linux/TesseractTextRecognizer.h"
#include "platform/linux/XdgAutostartLoginItem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

#include <cstring>

namespace {

QImage readImage(const QString& file, QString* error)
{
    QImageReader reader;
    QFile standardInput;
    QBuffer buffer;
    if (file == QLatin1String("-")) {
        if (!standardInput.open(stdin, QIODevice::ReadOnly)) {
            *error = QStringLiteral("standard input cannot be read");
            return QImage();
        }
        buffer.setData(standardInput.readAll());
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
    } else {
        reader.setFileName(file);
    }
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
    // Image files need no display: a core application reads them on any machine, also over ssh.
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(2);

    JsonFileDefaultsStore defaults(XdgPaths::settingsFile());
    XdgAutostartLoginItem loginItem(QCoreApplication::applicationFilePath());
    const AppSettings settings(defaults, loginItem);

    const QString dataPath = TesseractTextRecognizer::defaultDataPath();
    TesseractTextRecognizer recognizer(dataPath, TesseractTextRecognizer::defaultLanguages(dataPath));

    QTextStream out(stdout);
    QTextStream err(stderr);
    return RecognizeCommand(recognizer, settings, out, err).run(files);
}
