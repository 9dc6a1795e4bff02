#include "platform/RecognitionLanguages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList AllInstalled = {"chi_sim", "deu", "eng", "fra", "ita", "osd", "por", "spa"};

} // namespace

TEST(RecognitionLanguages, MapsLocaleTagsToRecognizerCodes)
{
    struct Row {
        const char* name;
        const char* tag;
        const char* code;
    };
    const Row rows[] = {
        {"region", "de-AT", "deu"},
        {"script and region", "de-Latn-AT", "deu"},
        {"language only", "fr", "fra"},
        {"underscore and codeset from the environment", "pt_BR.UTF-8", "por"},
        {"simplified Chinese by script", "zh-Hans-CN", "chi_sim"},
        {"traditional Chinese by script", "zh-Hant", "chi_tra"},
        {"traditional Chinese by region", "zh-HK", "chi_tra"},
        {"Chinese without script or region", "zh", "chi_sim"},
        {"Serbian in Latin script", "sr-Latn-RS", "srp_latn"},
        {"Serbian with the glibc latin modifier", "sr@latin", "srp_latn"},
        {"Serbian as Qt spells that modifier", "sr-latin", "srp_latn"},
        {"Serbian in Cyrillic", "sr-RS", "srp"},
        {"Norwegian Bokmal", "nb-NO", "nor"},
        {"old Hebrew tag", "iw", "heb"},
        {"upper-case language", "EN-us", "eng"},
        {"the C locale", "C", ""},
        {"unknown language", "tlh", ""},
        {"empty", "", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RecognitionLanguages::codeForLocaleTag(QString::fromUtf8(row.tag)), QString::fromUtf8(row.code))
            << row.name;
}

TEST(RecognitionLanguages, SelectsGermanEnglishAndThreePreferredInstalledLanguagesOnce)
{
    struct Row {
        const char* name;
        QStringList uiLanguages;
        QStringList installed;
        QStringList expected;
    };
    const Row rows[] = {
        {"German and English user", {"de-AT", "de-Latn-AT", "en-US"}, AllInstalled, {"deu", "eng"}},
        {"Qt's spellings of one language count once",
         {"fr", "fr-Latn-FR", "fr-FR", "es", "es-Latn-ES", "es-ES", "pt-BR", "it"},
         AllInstalled,
         {"deu", "eng", "fra", "spa", "por"}},
        {"only the first three preferences",
         {"it", "es", "fr", "pt"},
         AllInstalled,
         {"deu", "eng", "ita", "spa", "fra"}},
        {"a language without model still takes its place",
         {"tlh", "C", "fr", "es"},
         AllInstalled,
         {"deu", "eng", "fra"}},
        {"preferred but not installed", {"fr-FR", "zh-CN"}, {"deu", "eng"}, {"deu", "eng"}},
        {"German not installed", {"en-GB"}, {"eng", "osd"}, {"eng"}},
        {"nothing usable installed", {"en-GB"}, {"osd"}, {}},
        {"no preferences", {}, AllInstalled, {"deu", "eng"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RecognitionLanguages::select(row.uiLanguages, row.installed), row.expected) << row.name;
}

TEST(RecognitionLanguages, FindsTrainedDataFilesOnly)
{
    QTemporaryDir dir;
    for (const char* name : {"eng.traineddata", "deu.traineddata", "README.txt", "configs"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(RecognitionLanguages::installedIn(dir.path()), QStringList({"deu", "eng"}));
    EXPECT_TRUE(RecognitionLanguages::installedIn(dir.filePath(QStringLiteral("missing"))).isEmpty());
}
