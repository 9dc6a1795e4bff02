#include "TestStores.h"
#include "core/api/HTTPTransport.h"
#include "core/capture/CaptureSessionController.h"
#include "core/support/DebugLogFile.h"
#include "core/support/XdgPaths.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/shell/LegalInfoWindowController.h"
#include "widgets/shell/Localization.h"
#include "widgets/shell/OnboardingWindowController.h"

#include <QApplication>
#include <QDir>
#include <QHostAddress>
#include <QRegularExpression>
#include <QStackedWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A path as the texts show it, the home folder as "~".
QString shown(const QString& path)
{
    EXPECT_TRUE(path.startsWith(QDir::homePath() + u'/')) << path.toStdString();
    return QStringLiteral("~") + path.mid(QDir::homePath().size());
}

// The hosts the HTTP server listens on without an API token ("127.0.0.1", "::1").
QStringList loopbackHosts()
{
    HTTPTransport transport([](const HTTPRequest&, const QHostAddress&) { return QByteArray(); });
    const HTTPTransport::ListenResult result = transport.listen(0, true);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    QStringList hosts;
    for (const QString& address : result.addresses)
        hosts.append(address.chopped(2).remove(u'[').remove(u']')); // "[::1]:0"
    transport.close();
    return hosts;
}

} // namespace

// Every fact the privacy notice states about files, logs and the HTTP server, read from the code that makes it
// true, in every shipped language; and no legal text sends the reader to a file the program does not write.
TEST(LegalTexts, PrivacyNoticeStatesWhatTheProgramDoes)
{
    // The base directories of a user who set no XDG variables (the test's own point into its private home).
    ASSERT_EQ(XdgPaths::configHome(), QDir::homePath() + QStringLiteral("/.config"));
    TestSettings s;
    AppSettings& settings = s.settings;
    HistoryManager history(settings, XdgPaths::appDataFolder());
    QStringList facts = {
        shown(XdgPaths::settingsFile()),    shown(history.historyFilePath()),
        shown(history.screenshotsFolder()), shown(XdgPaths::autostartFile()),
        shown(DebugLogFile::path()),        QString::fromLatin1(DebugLogFile::EnableVariable),
    };
    facts += loopbackHosts();
    ASSERT_TRUE(facts.contains(QStringLiteral("127.0.0.1")));

    // Where a base-directory variable moves a file, the text names the variable.
    const std::pair<const char*, std::function<QString()>> moved[] = {
        {"XDG_CONFIG_HOME", &XdgPaths::settingsFile},
        {"XDG_DATA_HOME", &XdgPaths::appDataFolder},
        {"XDG_STATE_HOME", &DebugLogFile::path},
    };
    for (const auto& [variable, path] : moved) {
        const QByteArray before = qgetenv(variable);
        qputenv(variable, "/elsewhere");
        EXPECT_TRUE(path().startsWith(QStringLiteral("/elsewhere/"))) << variable;
        qputenv(variable, before);
        facts.append(u'$' + QString::fromLatin1(variable));
    }
    const qint64 numbers[] = {settings.apiPort(), settings.historyMaxEntries(), settings.historyAutoDeleteDays(),
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

TEST(OnboardingWindow, IsAsTallAsItsTallestPageInEveryLanguage)
{
    TestSettings s;
    for (const QString& language : Localization::shippedLanguages()) {
        SCOPED_TRACE(language.toStdString());
        Localization::install(*QCoreApplication::instance(), QLocale(language));
        OnboardingWindowController onboarding(s.settings, {QStringLiteral("Ctrl+Shift+7")}, true, {});
        onboarding.showWindow();
        QApplication::processEvents();
        QStackedWidget* pages = onboarding.pages();
        int tallest = 0;
        for (int i = 0; i < pages->count(); ++i) {
            const int needed = pages->widget(i)->heightForWidth(pages->width());
            EXPECT_LE(needed, pages->height()) << "page " << i << " is cut off";
            tallest = std::max(tallest, needed);
        }
        EXPECT_GE(tallest, pages->height() - 2) << "even the tallest page leaves empty space below it";
        onboarding.window()->close();
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en")));
}
