#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;
class QLocale;

// Every text a person reads in a window or menu is looked up by key (qtTrId). The English texts are always
// installed underneath, so a key that a translation lacks still reads in English rather than as its key.
class Localization {
public:
    // Installs the texts for the first shipped language among the locale's UI languages (English when none
    // matches) and returns its code ("en", "de"). Replaces what an earlier call installed.
    static QString install(QCoreApplication& app, const QLocale& locale);

    static QStringList shippedLanguages();
    // The language that install() chose last, "en" before any call.
    static QString currentLanguage();
};
