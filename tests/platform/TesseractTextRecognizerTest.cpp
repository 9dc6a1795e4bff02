#include "platform/linux/TesseractTextRecognizer.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

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
    static TesseractTextRecognizer& recognizer()
    {
        // One warm recogniser for the whole suite, as the program keeps one.
        static TesseractTextRecognizer shared(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish);
        return shared;
    }

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

TEST_F(TesseractTextRecognizerTest, ReadsLinesInPageOrderJoinedByOneLineFeedOnOneEngineOrTwo)
{
    // Six lines: two engines each read a band of them; the text must be the same as one engine reads, with no
    // line lost, doubled or moved at the cut.
    const QStringList lines = {
        QStringLiteral("The quick brown fox jumps over"),     QStringLiteral("the lazy dog near the river bank."),
        QStringLiteral("Die Änderungen betreffen vor allem"), QStringLiteral("kleinere Betriebe in der Stadt."),
        QStringLiteral("Members asked for a summary of"),     QStringLiteral("the figures before the vote.")};
    TesseractTextRecognizer::Tuning oneEngine;
    oneEngine.engines = 1;
    TesseractTextRecognizer serial(TesseractTextRecognizer::defaultDataPath(), GermanAndEnglish, oneEngine);
    EXPECT_EQ(read(serial, screenText(lines)), joined(lines));
    EXPECT_EQ(read(recognizer(), screenText(lines)), joined(lines));

    struct Row {
        const char* name;
        QStringList lines;
        QColor background;
        QColor ink;
    };
    const Row rows[] = {
        {"two lines", lines.mid(0, 2), Qt::white, QColor(30, 30, 30)},
        {"dark theme", {"Settings are saved when you close", "the window."}, QColor(30, 30, 30), QColor(230, 230, 230)},
        {"German on a dark theme", {"Die Änderungen werden gespeichert."}, QColor(40, 44, 52), QColor(200, 200, 200)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(read(recognizer(), screenText(row.lines, row.background, row.ink)), joined(row.lines)) << row.name;
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
    TesseractTextRecognizer none(TesseractTextRecognizer::defaultDataPath(), {});
    expectFailure(none, hello);

    // A warm English engine must not answer for a language set it was not made for.
    TesseractTextRecognizer changing(TesseractTextRecognizer::defaultDataPath(), {QStringLiteral("eng")});
    ASSERT_EQ(read(changing, hello), QStringLiteral("Hello world"));
    changing.setLanguages({QStringLiteral("xyz")});
    expectFailure(changing, hello);
    changing.setLanguages(GermanAndEnglish);
    EXPECT_EQ(read(changing, hello), QStringLiteral("Hello world"));
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
