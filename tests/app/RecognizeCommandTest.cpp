#include "app/RecognizeCommand.h"

#include "platform/TextRecognizer.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "settings/AppSettings.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

// Fails on images 13 pixels wide and reads every other one as the same untidy text.
class FailingOnWidth13 : public TextRecognizer {
public:
    QString recognize(const QImage& image, QString* error) override
    {
        if (image.width() != 13)
            return QStringLiteral("Inter-\nnational  trade");
        *error = QStringLiteral("engine exploded");
        return QString();
    }
};

} // namespace

// Real recognition, missing files and the usage message are run on the real program by recognize_cli_test.py.
TEST(RecognizeCommand, FilesThatFailAreReportedAndTheOthersPrintedCleanedAsTheSettingsSay)
{
    QTemporaryDir dir;
    const auto image = [&](const char* name, int width) {
        QImage picture(width, 10, QImage::Format_RGB32);
        picture.fill(Qt::white);
        EXPECT_TRUE(picture.save(dir.filePath(QString::fromLatin1(name)), "PNG"));
        return dir.filePath(QString::fromLatin1(name));
    };
    const QString notAnImage = dir.filePath(QStringLiteral("notes.png"));
    QFile file(notAnImage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture");
    file.close();
    const QString failing = image("failing.png", 13);
    const QString good = image("good.png", 10);
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings(defaults, loginItem);
    FailingOnWidth13 recognizer;
    QString out;
    QString err;
    const auto run = [&](const QStringList& files) {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return RecognizeCommand(recognizer, settings, outStream, errStream).run(files);
    };

    EXPECT_EQ(run({notAnImage, failing, good}), 1);
    EXPECT_EQ(out, QStringLiteral("==> %1 <==\nInternational trade\n").arg(good));
    const QStringList lines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("quillora: cannot read %1: ").arg(notAnImage)));
    EXPECT_EQ(lines[1], QStringLiteral("quillora: cannot recognise %1: engine exploded").arg(failing));

    // The user's clean-up switches apply, as they do to a capture.
    settings.setFixHyphenation(false);
    settings.setCleanupWhitespace(false);
    EXPECT_EQ(run({good}), 0);
    EXPECT_EQ(out, QStringLiteral("Inter-\nnational  trade\n"));
    EXPECT_TRUE(err.isEmpty());
}
