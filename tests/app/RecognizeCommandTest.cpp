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

#include <map>

namespace {

// Answers by image width, so that each test file stands for a prepared text; width 13 fails.
class WidthRecognizer : public TextRecognizer {
public:
    std::map<int, QString> texts;
    QString recognize(const QImage& image, QString* error) override
    {
        if (image.width() == 13) {
            *error = QStringLiteral("engine exploded");
            return QString();
        }
        const auto it = texts.find(image.width());
        return it == texts.end() ? QString() : it->second;
    }
};

class RecognizeCommandTest : public ::testing::Test {
protected:
    QString image(const char* name, int width)
    {
        QImage picture(width, 10, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(picture.save(path, "PNG"));
        return path;
    }

    int run(const QStringList& files)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return RecognizeCommand(recognizer, settings, outStream, errStream).run(files);
    }

    QTemporaryDir dir;
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    WidthRecognizer recognizer;
    QString out;
    QString err;
};

} // namespace

TEST_F(RecognizeCommandTest, OneFilePrintsItsCleanedTextAlone)
{
    recognizer.texts = {{10, QStringLiteral("Inter-\nnational  trade\nagreement")}};
    EXPECT_EQ(run({image("a.png", 10)}), 0);
    EXPECT_EQ(out, QStringLiteral("International trade agreement\n"));
    EXPECT_TRUE(err.isEmpty());

    // The user's clean-up switches apply, as they do to a capture.
    settings.setFixHyphenation(false);
    settings.setCleanupWhitespace(false);
    EXPECT_EQ(run({image("a.png", 10)}), 0);
    EXPECT_EQ(out, QStringLiteral("Inter-\nnational  trade\nagreement\n"));
}

TEST_F(RecognizeCommandTest, UnreadableFilesFailClearlyAndTheOthersAreStillPrinted)
{
    recognizer.texts = {{10, QStringLiteral("kept")}};
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    const QString notAnImage = dir.filePath(QStringLiteral("notes.png"));
    QFile file(notAnImage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture");
    file.close();
    const QString failing = image("failing.png", 13);
    const QString good = image("good.png", 10);

    EXPECT_EQ(run({missing, notAnImage, failing, good}), 1);
    EXPECT_EQ(out, QStringLiteral("==> %1 <==\nkept\n").arg(good));
    const QStringList lines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("quillora: cannot read %1: ").arg(missing)));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("quillora: cannot read %1: ").arg(notAnImage)));
    EXPECT_EQ(lines[2], QStringLiteral("quillora: cannot recognise %1: engine exploded").arg(failing));
}
