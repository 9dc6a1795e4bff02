#include "core/recognition/RecognitionLanguages.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

TEST(RecognitionLanguages, MapsLocaleTagsToRecognizerCodes)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"script and region", "de-Latn-AT", "deu"},
        {"underscore and codeset from the environment", "pt_BR.UTF-8", "por"},
        {"traditional Chinese by script", "zh-Hant", "chi_tra"},
        {"traditional Chinese by region", "zh-HK", "chi_tra"},
        {"Chinese without script or region", "zh", "chi_sim"},
        {"Serbian in Latin script", "sr-Latn-RS", "srp_latn"},
        {"Serbian with the glibc latin modifier", "sr@latin", "srp_latn"},
        {"Serbian as Qt spells that modifier", "sr-latin", "srp_latn"},
        {"upper-case language", "EN-us", "eng"},
        {"the C locale", "C", ""},
    };
    for (const auto& [name, tag, code] : rows)
        EXPECT_EQ(RecognitionLanguages::codeForLocaleTag(QString::fromUtf8(tag)), QString::fromUtf8(code)) << name;
}

TEST(RecognitionLanguages, SelectsGermanEnglishAndThreePreferredInstalledLanguagesOnce)
{
    const QStringList AllInstalled = {"chi_sim", "deu", "eng", "fra", "ita", "osd", "por", "spa"};
    // The user's languages, the installed models, and the selection.
    const std::tuple<const char*, QStringList, QStringList, QStringList> rows[] = {
        {"Qt's spellings of one language count once; only three",
         {"fr", "fr-Latn-FR", "fr-FR", "es", "es-Latn-ES", "es-ES", "pt-BR", "it"},
         AllInstalled,
         {"deu", "eng", "fra", "spa", "por"}},
        {"a language without model still takes its place",
         {"tlh", "C", "fr", "es"},
         AllInstalled,
         {"deu", "eng", "fra"}},
        {"preferred but not installed", {"fr-FR", "zh-CN"}, {"deu", "eng"}, {"deu", "eng"}},
        {"German not installed", {"en-GB"}, {"eng", "osd"}, {"eng"}},
    };
    for (const auto& [name, languages, installed, expected] : rows)
        EXPECT_EQ(RecognitionLanguages::select(languages, installed), expected) << name;
}
