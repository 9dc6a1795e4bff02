#include "platform/linux/TesseractTextRecognizer.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

// Screen text as a browser or terminal draws it: one line per entry, dark on white, anti-aliased DejaVu Sans of the
// line's pixel size (14 px unless given), lines 12/7 of their size apart.
QImage screenText(const QStringList& lines, const QList<int>& sizes = {})
{
    int height = 16;
    for (int i = 0; i < lines.size(); ++i)
        height += sizes.value(i, 14) * 12 / 7;
    QImage image(700, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(30, 30, 30));
    QFont font(QStringLiteral("DejaVu Sans"));
    for (int i = 0, baseline = 2; i < lines.size(); ++i) {
        font.setPixelSize(sizes.value(i, 14));
        painter.setFont(font);
        baseline += sizes.value(i, 14) * 12 / 7;
        painter.drawText(QPointF(10, baseline), lines[i]);
    }
    return image;
}

QString joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

const QStringList GermanAndEnglish = {QStringLiteral("deu"), QStringLiteral("eng")};
const QStringList English = {QStringLiteral("eng")};
const QString HelloWorld = QStringLiteral("Hello world");

// English trained data in a folder of its own, which a test may take away to keep new engines from being made.
struct CopiedData {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("eng.traineddata"));
    const bool copied = QFile::copy(TesseractTextRecognizer::defaultDataPath() + "/eng.traineddata", file);
};

class TesseractTextRecognizerTest : public ::testing::Test {
protected:
    // One warm recogniser for the whole suite, as the program keeps one. It goes with the suite, not at exit: a
    // helper may still be making an engine after the last call returned, and Tesseract's own caches are
    // destroyed before a function's static objects are.
    static void SetUpTestSuite()
    {
        shared =
            std::make_unique<TesseractTextRecognizer>(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish);
    }
    static void TearDownTestSuite() { shared.reset(); }
    static inline std::unique_ptr<TesseractTextRecognizer> shared;

    // The text read, or Failed followed by any text given along with an error.
    static QString read(TesseractTextRecognizer& engine, const QImage& image)
    {
        QString error;
        const QString text = engine.recognize(image, &error);
        return error.isEmpty() ? text : Failed + text;
    }
    static inline const QString Failed = QStringLiteral("failed: ");
};

} // namespace

TEST_F(TesseractTextRecognizerTest, ReadsLinesInPageOrderJoinedByOneLineFeed)
{
    // Six lines: two engines each read a band of them, with no line lost, doubled or moved at the cut.
    const QStringList lines = {
        QStringLiteral("The quick brown fox jumps over"),     QStringLiteral("the lazy dog near the river bank."),
        QStringLiteral("Die Änderungen betreffen vor allem"), QStringLiteral("kleinere Betriebe in der Stadt."),
        QStringLiteral("Members asked for a summary of"),     QStringLiteral("the figures before the vote.")};
    EXPECT_EQ(read(*shared, screenText(lines)), joined(lines));

    // No text gives the empty text without error; noise that is not text (a thin rule) must not invent letters.
    QImage blank(400, 80, QImage::Format_RGB32);
    blank.fill(QColor(245, 245, 245));
    EXPECT_EQ(read(*shared, blank), QString());
    QPainter(&blank).fillRect(20, 40, 300, 1, QColor(200, 200, 200));
    EXPECT_EQ(read(*shared, blank), QString());
}

TEST_F(TesseractTextRecognizerTest, FailuresAreReportedAndNewLanguagesGetNewEngines)
{
    const QImage hello = screenText({HelloWorld});
    EXPECT_EQ(read(*shared, QImage()), Failed);
    TesseractTextRecognizer missing(QStringLiteral("/nonexistent/tessdata"), English);
    EXPECT_EQ(read(missing, hello), Failed);
    // Engines that fail to load ahead leave the call to fail on its own, not to wait for them.
    missing.prepareEngines();
    EXPECT_EQ(read(missing, hello), Failed);

    // A warm English engine must not answer for a language set it was not made for.
    TesseractTextRecognizer changing(TesseractTextRecognizer::defaultDataPath(), English);
    ASSERT_EQ(read(changing, hello), HelloWorld);
    changing.setLanguages({QStringLiteral("xyz")});
    EXPECT_EQ(read(changing, hello), Failed);
    changing.setLanguages(GermanAndEnglish);
    EXPECT_EQ(read(changing, hello), HelloWorld);
}

// With the trained data gone no engine can be made again: the warm ones kept read every band.
TEST_F(TesseractTextRecognizerTest, EnginesKeptWarmReadEveryBandWhenNoNewOneCanBeMade)
{
    CopiedData data;
    ASSERT_TRUE(data.copied);
    TesseractTextRecognizer spare(data.dir.path(), English, {.steps = {}, .engines = 2, .variables = {}});
    TesseractTextRecognizer tables(data.dir.path(), English);
    const QStringList lines = {QStringLiteral("Each band of this page"), QStringLiteral("goes to its own engine"),
                               QStringLiteral("while the caller reads"), QStringLiteral("the other band of it.")};
    ASSERT_EQ(read(spare, screenText(lines)), joined(lines));
    ASSERT_EQ(read(tables, screenText({HelloWorld})), HelloWorld);
    spare.releaseSpareEngines();
    ASSERT_TRUE(QFile::remove(data.file));
    EXPECT_EQ(read(spare, screenText(lines)), joined(lines));
    spare.releaseSpareEngines();
    EXPECT_EQ(read(spare, screenText(lines.mid(0, 1))), lines.first());

    // The gap between the columns makes the calling thread take the one warm engine for a layout analysis
    // before the helper starts, which then cannot make an engine of its own.
    QImage table = screenText({QStringLiteral("ssh"), QStringLiteral("telnet"), QStringLiteral("smtp")});
    QPainter(&table).drawImage(300, 0, screenText({"22/tcp", "23/tcp", "25/tcp"}));
    EXPECT_EQ(read(tables, table), QStringLiteral("ssh 22/tcp\ntelnet 23/tcp\nsmtp 25/tcp"));
}

TEST_F(TesseractTextRecognizerTest, ConcurrentCallsEachGetTheirOwnEngines)
{
    // Both calls cut their text into bands and compete for the helper and the warm engines.
    const QList<QStringList> texts = {
        {QStringLiteral("First window with a short line"), QStringLiteral("and a second line below")},
        {QStringLiteral("Zweites Fenster mit Übergröße"), QStringLiteral("und einer weiteren Zeile")}};
    QList<QStringList> results(2);
    const auto readThrice = [&](int t) {
        const QImage image = screenText(texts[t]);
        for (int i = 0; i < 3; ++i)
            results[t].append(shared->recognize(image, nullptr));
    };
    std::thread other(readThrice, 1);
    readThrice(0);
    other.join();
    for (int t = 0; t < 2; ++t)
        EXPECT_EQ(results[t], QStringList(3, joined(texts[t])));
}

TEST_F(TesseractTextRecognizerTest, BandsOfLargeAndSmallTextAreEachReadAtTheirOwnScale)
{
    // The 28 px headings need no enlargement, the 13 px lines do: each band (one per line) is scaled on its own and
    // its lines are placed back on the page, so that nothing moves or goes missing.
    const QStringList lines = {QStringLiteral("Annual report"), QStringLiteral("The figures below were checked twice"),
                               QStringLiteral("by the treasurer before the meeting."), QStringLiteral("Results"),
                               QStringLiteral("Income rose while costs stayed level.")};
    TesseractTextRecognizer banded(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish,
                                   {.steps = {}, .engines = 2, .bands = 5, .variables = {}});
    EXPECT_EQ(read(banded, screenText(lines, {28, 13, 13, 28, 13})), joined(lines));
}
