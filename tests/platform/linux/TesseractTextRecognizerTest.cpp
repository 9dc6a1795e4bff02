#include "platform/linux/TesseractTextRecognizer.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// Screen text as a browser or terminal draws it: one line per entry, 14 px DejaVu Sans, anti-aliased.
QImage screenText(const QStringList& lines, QColor background = Qt::white, QColor ink = QColor(30, 30, 30))
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    QImage image(600, 24 * int(lines.size()) + 16, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(10, 26 + 24 * i), lines[i]);
    return image;
}

QString joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

const QStringList GermanAndEnglish = {QStringLiteral("deu"), QStringLiteral("eng")};

class TesseractTextRecognizerTest : public ::testing::Test {
protected:
    // One warm recogniser for the whole suite, as the program keeps one. It goes with the suite, not at exit: a
    // helper may still be making an engine after the last call returned, and Tesseract's own caches are
    // destroyed before a function's static objects are.
    static TesseractTextRecognizer& recognizer()
    {
        if (!shared)
            shared =
                std::make_unique<TesseractTextRecognizer>(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish);
        return *shared;
    }
    static void TearDownTestSuite() { shared.reset(); }
    static inline std::unique_ptr<TesseractTextRecognizer> shared;

    static QString read(TesseractTextRecognizer& engine, const QImage& image)
    {
        QString error;
        const QString text = engine.recognize(image, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return text;
    }
    // Recognition fails, says why, and gives no text.
    static void expectFailure(TesseractTextRecognizer& engine, const QImage& image)
    {
        QString error;
        EXPECT_EQ(engine.recognize(image, &error), QString());
        EXPECT_FALSE(error.isEmpty());
    }
};

} // namespace

TEST_F(TesseractTextRecognizerTest, ReadsLinesInPageOrderJoinedByOneLineFeed)
{
    // Six lines: two engines each read a band of them, with no line lost, doubled or moved at the cut.
    const QStringList lines = {
        QStringLiteral("The quick brown fox jumps over"),     QStringLiteral("the lazy dog near the river bank."),
        QStringLiteral("Die Änderungen betreffen vor allem"), QStringLiteral("kleinere Betriebe in der Stadt."),
        QStringLiteral("Members asked for a summary of"),     QStringLiteral("the figures before the vote.")};
    EXPECT_EQ(read(recognizer(), screenText(lines)), joined(lines));
    EXPECT_EQ(read(recognizer(), screenText(lines.mid(0, 2))), joined(lines.mid(0, 2))) << "two lines";
    const QStringList dark = {QStringLiteral("Settings are saved when you close"), QStringLiteral("the window.")};
    EXPECT_EQ(read(recognizer(), screenText(dark, QColor(30, 30, 30), QColor(230, 230, 230))), joined(dark));
}

TEST_F(TesseractTextRecognizerTest, NoTextGivesTheEmptyTextWithoutError)
{
    QImage blank(400, 80, QImage::Format_RGB32);
    blank.fill(QColor(245, 245, 245));
    EXPECT_EQ(read(recognizer(), blank), QString());
    // Noise that is not text (a thin rule) must not invent letters either.
    QPainter(&blank).fillRect(20, 40, 300, 1, QColor(200, 200, 200));
    EXPECT_EQ(read(recognizer(), blank), QString());
}

TEST_F(TesseractTextRecognizerTest, FailuresAreReportedAndNewLanguagesGetNewEngines)
{
    const QImage hello = screenText({QStringLiteral("Hello world")});
    expectFailure(recognizer(), QImage());
    TesseractTextRecognizer missing(QStringLiteral("/nonexistent/tessdata"), {QStringLiteral("eng")});
    expectFailure(missing, hello);
    // Engines that fail to load ahead leave the call to fail on its own, not to wait for them.
    missing.prepareEngines();
    expectFailure(missing, hello);
    TesseractTextRecognizer prepared(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish);
    prepared.prepareEngines();
    EXPECT_EQ(read(prepared, hello), QStringLiteral("Hello world"));

    // A warm English engine must not answer for a language set it was not made for.
    TesseractTextRecognizer changing(TesseractTextRecognizer::defaultDataPath(), {QStringLiteral("eng")});
    ASSERT_EQ(read(changing, hello), QStringLiteral("Hello world"));
    changing.setLanguages({QStringLiteral("xyz")});
    expectFailure(changing, hello);
    changing.setLanguages(GermanAndEnglish);
    EXPECT_EQ(read(changing, hello), QStringLiteral("Hello world"));
}

TEST_F(TesseractTextRecognizerTest, BandsOfAHelperThatCannotMakeItsEngineAreReadByTheCaller)
{
    // The gap between the columns makes the calling thread take the one warm engine for a layout analysis
    // before the helper starts; with the trained data gone, the helper cannot make an engine of its own.
    QTemporaryDir data;
    const QString file = data.filePath(QStringLiteral("eng.traineddata"));
    ASSERT_TRUE(QFile::copy(TesseractTextRecognizer::defaultDataPath() + QStringLiteral("/eng.traineddata"), file));
    TesseractTextRecognizer engine(data.path(), {QStringLiteral("eng")});
    ASSERT_EQ(read(engine, screenText({QStringLiteral("Hello world")})), QStringLiteral("Hello world"));
    ASSERT_TRUE(QFile::remove(file));
    QImage table = screenText({QStringLiteral("ssh"), QStringLiteral("telnet"), QStringLiteral("smtp")});
    QPainter(&table).drawImage(300, 0, screenText({"22/tcp", "23/tcp", "25/tcp"}));
    EXPECT_EQ(read(engine, table), QStringLiteral("ssh 22/tcp\ntelnet 23/tcp\nsmtp 25/tcp"));
}

TEST_F(TesseractTextRecognizerTest, ConcurrentCallsEachGetTheirOwnEngines)
{
    // Both calls cut their text into bands and compete for the helper and the warm engines.
    const QList<QStringList> texts = {
        {QStringLiteral("First window with a short line"), QStringLiteral("and a second line below")},
        {QStringLiteral("Zweites Fenster mit Übergröße"), QStringLiteral("und einer weiteren Zeile")}};
    const QList<QImage> images = {screenText(texts[0]), screenText(texts[1])};
    QList<QStringList> results(2);
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 3; ++i)
                results[t].append(recognizer().recognize(images[t], nullptr));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < 2; ++t)
        EXPECT_EQ(results[t], QStringList(3, joined(texts[t])));
}

TEST_F(TesseractTextRecognizerTest, BandsOfLargeAndSmallTextAreEachReadAtTheirOwnScale)
{
    // A heading of 28 px text needs no enlargement, the 13 px lines under it do: cut apart, each band is scaled
    // on its own and its lines are placed back on the page, so that nothing moves or goes missing.
    const QList<QPair<int, QString>> lines = {{28, QStringLiteral("Annual report")},
                                              {13, QStringLiteral("The figures below were checked twice")},
                                              {13, QStringLiteral("by the treasurer before the meeting.")},
                                              {28, QStringLiteral("Results")},
                                              {13, QStringLiteral("Income rose while costs stayed level.")}};
    QImage page(700, 230, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setPen(QColor(30, 30, 30));
        int baseline = 10;
        for (const auto& [size, text] : lines) {
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(size);
            painter.setFont(font);
            baseline += size * 3 / 2;
            painter.drawText(QPointF(12, baseline), text);
        }
    }
    QStringList texts;
    for (const auto& line : lines)
        texts.append(line.second);
    TesseractTextRecognizer::Tuning tuning;
    tuning.engines = 2;
    tuning.bands = 5; // one band per line
    TesseractTextRecognizer banded(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish, tuning);
    EXPECT_EQ(read(banded, page), joined(texts));
}

TEST_F(TesseractTextRecognizerTest, ReleasingSpareEnginesKeepsOneWarm)
{
    QTemporaryDir data;
    const QString file = data.filePath(QStringLiteral("eng.traineddata"));
    ASSERT_TRUE(QFile::copy(TesseractTextRecognizer::defaultDataPath() + QStringLiteral("/eng.traineddata"), file));
    TesseractTextRecognizer::Tuning tuning;
    tuning.engines = 2;
    TesseractTextRecognizer engine(data.path(), {QStringLiteral("eng")}, tuning);
    const QStringList lines = {QStringLiteral("Each band of this page"), QStringLiteral("goes to its own engine"),
                               QStringLiteral("while the caller reads"), QStringLiteral("the other band of it.")};
    ASSERT_EQ(read(engine, screenText(lines)), joined(lines));
    engine.releaseSpareEngines();
    // Without the trained data no engine can be made again: the one kept reads every band.
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(read(engine, screenText(lines)), joined(lines));
    engine.releaseSpareEngines();
    EXPECT_EQ(read(engine, screenText(lines.mid(0, 1))), lines.first());
}
