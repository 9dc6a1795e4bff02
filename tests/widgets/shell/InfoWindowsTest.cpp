#include "TestStores.h"
#include "core/capture/CaptureSessionController.h"
#include "core/support/DebugLogFile.h"
#include "core/support/XdgPaths.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/shell/LegalInfoWindowController.h"
#include "widgets/shell/Localization.h"
#include "widgets/shell/OnboardingWindowController.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

// A path as the texts show it, the home folder as "~".
QString shown(const QString& path)
{
    EXPECT_TRUE(path.startsWith(QDir::homePath() + u'/')) << path.toStdString();
    return QStringLiteral("~") + path.mid(QDir::homePath().size());
}

} // namespace

// Every fact the privacy notice states about files, logs and the HTTP server, read from the code that makes it
// true, in every shipped language; and no legal text sends the reader to a file the program does not write.
TEST(LegalTexts, PrivacyNoticeStatesWhatTheProgramDoes)
{
    // The base directories of a user who set no XDG variables (the test's own point into its private home).
    ASSERT_EQ(XdgPaths::configHome(), QDir::homePath() + QStringLiteral("/.config"));
    TestSettings s;
    HistoryManager history(s.settings, XdgPaths::appDataFolder());
    QStringList facts = {
        shown(XdgPaths::settingsFile()),    shown(history.historyFilePath()),
        shown(history.screenshotsFolder()), shown(XdgPaths::autostartFile()),
        shown(DebugLogFile::path()),        QString::fromLatin1(DebugLogFile::EnableVariable),
        QStringLiteral("127.0.0.1"),        QStringLiteral("::1"), // where the server listens without a token
    };
    const qint64 numbers[] = {s.settings.apiPort(), s.settings.historyMaxEntries(), s.settings.historyAutoDeleteDays(),
                              CaptureSessionController::LoggedTextLength};

    for (const QString& language : Localization::shippedLanguages()) {
        SCOPED_TRACE(language.toStdString());
        Localization::install(*QCoreApplication::instance(), QLocale(language));
        const QString privacy = LegalInfoWindowController::content(LegalInfoWindowController::Privacy);
        for (const QString& fact : std::as_const(facts))
            EXPECT_TRUE(privacy.contains(QStringLiteral("<code>") + fact)) << fact.toStdString();
        for (const qint64 number : numbers)
            EXPECT_TRUE(privacy.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(number)))) << number;
        for (int kind = 0; kind < 4; ++kind)
            EXPECT_FALSE(LegalInfoWindowController::content(kind).contains(QStringLiteral("/tmp"))) << kind;
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en")));
}

TEST(OnboardingWindow, NoPageIsCutOffInAnyLanguage)
{
    TestSettings s;
    for (const QString& language : Localization::shippedLanguages()) {
        SCOPED_TRACE(language.toStdString());
        Localization::install(*QCoreApplication::instance(), QLocale(language));
        OnboardingWindowController onboarding(s.settings, {QStringLiteral("Ctrl+Shift+7")}, true, {});
        onboarding.showWindow();
        QApplication::processEvents();
        QStackedWidget* pages = onboarding.pages();
        for (int i = 0; i < pages->count(); ++i)
            EXPECT_LE(pages->widget(i)->heightForWidth(pages->width()), pages->height())
                << "page " << i << " is cut off";
        onboarding.window()->close();
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en")));
}
