#include "core/recognition/RecognitionLanguages.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

// ISO 639 language subtags (as locale tags spell them) to the recogniser's language codes. Languages whose
// code depends on the script (Chinese, Serbian, Uzbek, Azerbaijani) are decided in codeForLocaleTag().
const QHash<QString, QString>& languageCodes()
{
    static const QHash<QString, QString> codes = {
        {"af", "afr"}, {"am", "amh"},  {"ar", "ara"}, {"as", "asm"}, {"az", "aze"},  {"be", "bel"},  {"bg", "bul"},
        {"bn", "ben"}, {"bo", "bod"},  {"br", "bre"}, {"bs", "bos"}, {"ca", "cat"},  {"ceb", "ceb"}, {"chr", "chr"},
        {"co", "cos"}, {"cs", "ces"},  {"cy", "cym"}, {"da", "dan"}, {"de", "deu"},  {"dv", "div"},  {"dz", "dzo"},
        {"el", "ell"}, {"en", "eng"},  {"eo", "epo"}, {"es", "spa"}, {"et", "est"},  {"eu", "eus"},  {"fa", "fas"},
        {"fi", "fin"}, {"fil", "fil"}, {"fo", "fao"}, {"fr", "fra"}, {"fy", "fry"},  {"ga", "gle"},  {"gd", "gla"},
        {"gl", "glg"}, {"gu", "guj"},  {"he", "heb"}, {"hi", "hin"}, {"hr", "hrv"},  {"ht", "hat"},  {"hu", "hun"},
        {"hy", "hye"}, {"id", "ind"},  {"in", "ind"}, {"is", "isl"}, {"it", "ita"},  {"iu", "iku"},  {"iw", "heb"},
        {"ja", "jpn"}, {"jv", "jav"},  {"ka", "kat"}, {"kk", "kaz"}, {"km", "khm"},  {"kn", "kan"},  {"ko", "kor"},
        {"ku", "kmr"}, {"ky", "kir"},  {"la", "lat"}, {"lb", "ltz"}, {"lo", "lao"},  {"lt", "lit"},  {"lv", "lav"},
        {"mi", "mri"}, {"mk", "mkd"},  {"ml", "mal"}, {"mn", "mon"}, {"mr", "mar"},  {"ms", "msa"},  {"mt", "mlt"},
        {"my", "mya"}, {"nb", "nor"},  {"ne", "nep"}, {"nl", "nld"}, {"nn", "nor"},  {"no", "nor"},  {"oc", "oci"},
        {"or", "ori"}, {"pa", "pan"},  {"pl", "pol"}, {"ps", "pus"}, {"pt", "por"},  {"qu", "que"},  {"ro", "ron"},
        {"ru", "rus"}, {"sa", "san"},  {"sd", "snd"}, {"si", "sin"}, {"sk", "slk"},  {"sl", "slv"},  {"sq", "sqi"},
        {"sr", "srp"}, {"su", "sun"},  {"sv", "swe"}, {"sw", "swa"}, {"syr", "syr"}, {"ta", "tam"},  {"te", "tel"},
        {"tg", "tgk"}, {"th", "tha"},  {"ti", "tir"}, {"to", "ton"}, {"tr", "tur"},  {"tt", "tat"},  {"ug", "uig"},
        {"uk", "ukr"}, {"ur", "urd"},  {"uz", "uzb"}, {"vi", "vie"}, {"yi", "yid"},  {"yo", "yor"},  {"zh", "chi_sim"},
    };
    return codes;
}

// The locale tag of a recogniser code, for naming the language: the way back through languageCodes(), choosing
// the plain tag where several lead to one code, and the script where the code names one.
QString localeTagForCode(const QString& code)
{
    static const QHash<QString, QString> tags = [] {
        QHash<QString, QString> reverse = {
            {"nor", "no"},          {"ind", "id"},           {"heb", "he"},           {"chi_sim", "zh_Hans"},
            {"chi_tra", "zh_Hant"}, {"srp_latn", "sr_Latn"}, {"uzb_cyrl", "uz_Cyrl"}, {"aze_cyrl", "az_Cyrl"},
        };
        for (auto it = languageCodes().cbegin(); it != languageCodes().cend(); ++it) {
            if (!reverse.contains(it.value()))
                reverse.insert(it.value(), it.key());
        }
        return reverse;
    }();
    // The models for vertical text read the same language ("jpn_vert").
    QString base = code;
    if (base.endsWith(QLatin1String("_vert")))
        base.chop(5);
    return tags.value(base);
}

struct LocaleTag {
    QString language; // lower case
    QString script;   // title case, empty when not given
    QString region;   // upper case, empty when not given
};

LocaleTag parse(const QString& tag)
{
    // "sr@latin" (a glibc locale modifier) and "pt_BR.UTF-8" can reach us from the environment unchanged.
    QString cleaned = tag.trimmed();
    QString modifier;
    if (const int at = cleaned.indexOf(QLatin1Char('@')); at >= 0) {
        modifier = cleaned.mid(at + 1).toLower();
        cleaned.truncate(at);
    }
    if (const int dot = cleaned.indexOf(QLatin1Char('.')); dot >= 0)
        cleaned.truncate(dot);
    const QStringList parts = cleaned.split(QRegularExpression(QStringLiteral("[-_]")), Qt::SkipEmptyParts);
    LocaleTag result;
    if (parts.isEmpty())
        return result;
    result.language = parts.first().toLower();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.size() == 4 && result.script.isEmpty() && part.front().isLetter())
            result.script = part.left(1).toUpper() + part.mid(1).toLower();
        else if ((part.size() == 2 || (part.size() == 3 && part.front().isDigit())) && result.region.isEmpty())
            result.region = part.toUpper();
        else if (part.compare(QLatin1String("latin"), Qt::CaseInsensitive) == 0)
            result.script = QStringLiteral("Latn");
    }
    if (modifier == QLatin1String("latin"))
        result.script = QStringLiteral("Latn");
    else if (modifier == QLatin1String("cyrillic"))
        result.script = QStringLiteral("Cyrl");
    return result;
}

} // namespace

QString RecognitionLanguages::codeForLocaleTag(const QString& tag)
{
    const LocaleTag locale = parse(tag);
    if (locale.language == QLatin1String("zh")) {
        const bool traditional =
            locale.script == QLatin1String("Hant") ||
            (locale.script.isEmpty() && (locale.region == QLatin1String("TW") || locale.region == QLatin1String("HK") ||
                                         locale.region == QLatin1String("MO")));
        return traditional ? QStringLiteral("chi_tra") : QStringLiteral("chi_sim");
    }
    if (locale.language == QLatin1String("sr") && locale.script == QLatin1String("Latn"))
        return QStringLiteral("srp_latn");
    if (locale.language == QLatin1String("uz") && locale.script == QLatin1String("Cyrl"))
        return QStringLiteral("uzb_cyrl");
    if (locale.language == QLatin1String("az") && locale.script == QLatin1String("Cyrl"))
        return QStringLiteral("aze_cyrl");
    return languageCodes().value(locale.language);
}

QStringList RecognitionLanguages::select(const QStringList& uiLanguages, const QStringList& installed)
{
    QStringList wanted = {QStringLiteral("deu"), QStringLiteral("eng")};
    // Qt lists every preference in several spellings ("fr", "fr-Latn-FR", "fr-FR", "de", ...), so the first
    // three tags are often one language three times: count languages, not tags.
    QStringList preferredLanguages;
    for (const QString& tag : uiLanguages) {
        if (preferredLanguages.size() >= PreferredLanguageCount)
            break;
        const QString language = parse(tag).language;
        if (language.isEmpty() || preferredLanguages.contains(language))
            continue;
        preferredLanguages.append(language);
        wanted.append(codeForLocaleTag(tag));
    }
    QStringList result;
    for (const QString& code : std::as_const(wanted)) {
        if (!code.isEmpty() && installed.contains(code) && !result.contains(code))
            result.append(code);
    }
    return result;
}

QString RecognitionLanguages::displayName(const QString& code, const QString& displayLanguage)
{
    const QString tag = localeTagForCode(code);
    if (tag.isEmpty())
        return code;
    icu::UnicodeString name;
    icu::Locale(tag.toLatin1().constData())
        .getDisplayName(icu::Locale(QString(displayLanguage).replace(u'-', u'_').toLatin1().constData()), name);
    // ICU answers with the tag itself when it has no name for it.
    if (name.isBogus() || name.isEmpty() || name == icu::UnicodeString(tag.toLatin1().constData()))
        return code;
    return QString(reinterpret_cast<const QChar*>(name.getBuffer()), name.length());
}

QStringList RecognitionLanguages::installedIn(const QString& folder)
{
    QStringList codes;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.traineddata")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& file : files)
        codes.append(file.chopped(int(qstrlen(".traineddata"))));
    return codes;
}
