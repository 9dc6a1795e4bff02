#pragma once

#include <QString>
#include <QStringList>

// Which trained languages the recogniser loads. German and English always (when installed), then the user's
// first three preferred languages, each mapped from its locale tag ("de-AT", "pt-BR", "zh-Hans-CN") to the
// recogniser's language code ("deu", "por", "chi_sim").
class RecognitionLanguages {
public:
    static constexpr int PreferredLanguageCount = 3;

    // The recogniser code for a locale tag ("en-US" -> "eng"), or empty when there is none. Accepts "-" and "_".
    static QString codeForLocaleTag(const QString& tag);

    // "deu", "eng", then the codes of the first three distinct preferred languages (in the order of
    // uiLanguages, as QLocale::uiLanguages() lists them), keeping only installed codes, each once.
    static QStringList select(const QStringList& uiLanguages, const QStringList& installed);

    // The codes of the "<code>.traineddata" files in a folder, sorted.
    static QStringList installedIn(const QString& folder);

    // The name of a recogniser code's language in another language, given as a locale tag ("deu" in "de" is
    // "Deutsch", in "en" "German"); the code itself when no name is known.
    static QString displayName(const QString& code, const QString& displayLanguage);
};
