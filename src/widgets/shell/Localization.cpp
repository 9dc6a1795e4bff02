#include "widgets/shell/Localization.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const QString translatorName = QStringLiteral("quillora-translator");

QString& chosenLanguage()
{
    static QString language = QStringLiteral("en");
    return language;
}

QString pickLanguage(const QLocale& locale)
{
    const QStringList shipped = Localization::shippedLanguages();
    for (const QString& uiLanguage : locale.uiLanguages()) {
        // "de-AT", "de_DE" and "de" all select German.
        const QString code = uiLanguage.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (shipped.contains(code))
            return code;
    }
    return QStringLiteral("en");
}

bool installTranslator(QCoreApplication& app, const QString& language)
{
    auto* translator = new QTranslator(&app);
    translator->setObjectName(translatorName);
    if (!translator->load(QStringLiteral(":/i18n/quillora_%1.qm").arg(language))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

// Qt's own texts in the language: the names of keys in shortcuts ("Strg+Umschalt+7") and of standard buttons.
// Without Debian's qt6-translations-l10n they stay English.
void installQtTranslator(QCoreApplication& app, const QString& language)
{
    auto* translator = new QTranslator(&app);
    translator->setObjectName(translatorName);
    if (!translator->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}

} // namespace

QStringList Localization::shippedLanguages()
{
    return {QStringLiteral("en"), QStringLiteral("de")};
}

QString Localization::currentLanguage()
{
    return chosenLanguage();
}

QString Localization::install(QCoreApplication& app, const QLocale& locale)
{
    for (QTranslator* old : app.findChildren<QTranslator*>(translatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    // The translator installed last is asked first, so the chosen language goes on top of English.
    installTranslator(app, QStringLiteral("en"));
    QString language = pickLanguage(locale);
    if (language != QStringLiteral("en") && !installTranslator(app, language))
        language = QStringLiteral("en");
    if (language != QStringLiteral("en"))
        installQtTranslator(app, language);
    chosenLanguage() = language;
    return language;
}
