#include "platform/linux/TesseractTextRecognizer.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <thread>

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

class TesseractTextRecognizerTest : public ::testing::Test {
protected:
    static TesseractTextRecognizer& recognizer()
    {
        // One warm recogniser for the whole suite, as the program keeps one.
        static TesseractTextRecognizer shared(TesseractTextRecognizer::defaultDataPath(),
                                              {QStringLiteral("deu"), QStringLiteral("eng")});
        return shared;
    }

    QString read(const QImage& image)
    {
        QString error;
        const QString text = recognizer().recognize(image, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return text;
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
    const QImage image = screenText(lines);
    TesseractTextRecognizer::Tuning oneEngine;
    oneEngine.engines = 1;
    TesseractTextRecognizer serial(TesseractTextRecognizer::defaultDataPath(),
                                   {QStringLiteral("deu"), QStringLiteral("eng")}, oneEngine);
    QString error;
    EXPECT_EQ(serial.recognize(image, &error), lines.join(QLatin1Char('\n')));
    EXPECT_EQ(read(image), lines.join(QLatin1Char('\n')));
    EXPECT_EQ(read(screenText(lines.mid(0, 2))), lines.mid(0, 2).join(QLatin1Char('\n')));
}

TEST_F(TesseractTextRecognizerTest, ReadsDarkThemesAndGermanText)
{
    struct Row {
        const char* name;
        QStringList lines;
        QColor background;
        QColor ink;
    };
    const Row rows[] = {
        {"dark theme", {"Settings are saved when you close", "the window."}, QColor(30, 30, 30), QColor(230, 230, 230)},
        {"German umlauts", {"Größere Übermaße für Bäume"}, Qt::white, Qt::black},
        {"German on a dark theme", {"Die Änderungen werden gespeichert."}, QColor(40, 44, 52), QColor(200, 200, 200)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(read(screenText(row.lines, row.background, row.ink)), row.lines.join(QLatin1Char('\n'))) << row.name;
}

TEST_F(TesseractTextRecognizerTest, NoTextGivesTheEmptyTextWithoutError)
{
    QImage blank(400, 80, QImage::Format_RGB32);
    blank.fill(QColor(245, 245, 245));
    EXPECT_EQ(read(blank), QString());
    // Noise that is not text (a thin rule and a dot) must not invent letters either.
    QPainter(&blank).fillRect(20, 40, 300, 1, QColor(200, 200, 200));
    EXPECT_EQ(read(blank), QString());
}

TEST_F(TesseractTextRecognizerTest, FailuresAreReportedNotCrashed)
{
    QString error;
    EXPECT_EQ(recognizer().recognize(QImage(), &error), QString());
    EXPECT_FALSE(error.isEmpty()) << "an empty image";

    TesseractTextRecognizer missing(QStringLiteral("/nonexistent/tessdata"), {QStringLiteral("eng")});
    error.clear();
    EXPECT_EQ(missing.recognize(screenText({QStringLiteral("Hello")}), &error), QString());
    EXPECT_FALSE(error.isEmpty());

    TesseractTextRecognizer none(TesseractTextRecognizer::defaultDataPath(), {});
    error.clear();
    EXPECT_EQ(none.recognize(screenText({QStringLiteral("Hello")}), &error), QString());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(TesseractTextRecognizerTest, ChangingLanguagesReplacesTheWarmEngines)
{
    TesseractTextRecognizer recognizer(TesseractTextRecognizer::defaultDataPath(), {QStringLiteral("eng")});
    const QImage image = screenText({QStringLiteral("Hello world")});
    QString error;
    ASSERT_EQ(recognizer.recognize(image, &error), QStringLiteral("Hello world"));

    // A warm English engine must not answer for a language set it was not made for.
    recognizer.setLanguages({QStringLiteral("xyz")});
    EXPECT_EQ(recognizer.recognize(image, &error), QString());
    EXPECT_FALSE(error.isEmpty());

    recognizer.setLanguages({QStringLiteral("deu"), QStringLiteral("eng")});
    error.clear();
    EXPECT_EQ(recognizer.recognize(image, &error), QStringLiteral("Hello world"));
    EXPECT_TRUE(error.isEmpty());
}

TEST_F(TesseractTextRecognizerTest, ConcurrentCallsEachGetTheirOwnEngines)
{
    // Both calls cut their text into bands and compete for the helper and the warm engines.
    const QStringList a = {QStringLiteral("First window with a short line"), QStringLiteral("and a second line below")};
    const QStringList b = {QStringLiteral("Zweites Fenster mit Übergröße"), QStringLiteral("und einer weiteren Zeile")};
    const QImage imageA = screenText(a);
    const QImage imageB = screenText(b);
    QStringList resultsA;
    QStringList resultsB;
    std::thread first([&] {
        for (int i = 0; i < 3; ++i)
            resultsA.append(recognizer().recognize(imageA, nullptr));
    });
    std::thread second([&] {
        for (int i = 0; i < 3; ++i)
            resultsB.append(recognizer().recognize(imageB, nullptr));
    });
    first.join();
    second.join();
    EXPECT_EQ(resultsA, QStringList(3, a.join(QLatin1Char('\n'))));
    EXPECT_EQ(resultsB, QStringList(3, b.join(QLatin1Char('\n'))));
}
