#include "app/Localization.h"
#include "app/PermissionHelpPage.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QHostInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Every text key the program looks up, from its sources.
QSet<QString> keysUsedInSources()
{
    QSet<QString> keys;
    const QRegularExpression lookup(QStringLiteral(R"(qtTrId\(\s*"([^"]+)\")"));
    QDirIterator files(QStringLiteral(QUILLORA_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& match : lookup.globalMatch(text))
            keys.insert(match.captured(1));
    }
    return keys;
}

// Sends a request from another thread while this one runs the event loop the receiving instance answers from.
SingleInstance::SendResult sendWhileServing(const SingleInstance& sender, const QString& request, QString* error)
{
    std::atomic<bool> done = false;
    SingleInstance::SendResult result = SingleInstance::SendResult::Failed;
    std::thread thread([&] {
        result = sender.send(request, error);
        done = true;
    });
    while (!done)
        QTest::qWait(5);
    thread.join();
    return result;
}

} // namespace

TEST(Localization, EveryKeyInTheSourcesIsTranslatedInEveryShippedLanguage)
{
    const QSet<QString> keys = keysUsedInSources();
    ASSERT_GT(keys.size(), 30) << "the source scan found the program's texts";
    for (const QString& language : Localization::shippedLanguages()) {
        // Each shipped file on its own, without English underneath to hide a gap.
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/quillora_%1.qm").arg(language)));
        for (const QString& key : keys)
            EXPECT_FALSE(translator.translate(nullptr, key.toUtf8().constData()).trimmed().isEmpty())
                << language.toStdString() << " lacks " << key.toStdString();
    }
}

TEST(Localization, PicksTheLanguageFromTheLocaleWithEnglishUnderneath)
{
    struct Row {
        const char* locale;
        const char* language;
        const char* quit;
    };
    const Row rows[] = {
        {"de_AT", "de", "Quillora beenden"},
        {"fr_FR", "en", "Quit Quillora"},
        {"C", "en", "Quit Quillora"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.locale);
        const QString language = Localization::install(*QCoreApplication::instance(), QLocale(row.locale));
        EXPECT_EQ(language, QString::fromLatin1(row.language));
        EXPECT_EQ(qtTrId("menu.quit"), QString::fromUtf8(row.quit));
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
}

TEST(PermissionHelpPage, WritesTheShippedPageAsAFileUrl)
{
    QTemporaryDir folder;
    for (const char* language : {"en", "de", "xx"}) {
        SCOPED_TRACE(language);
        const QUrl url = PermissionHelpPage::materialize(QString::fromLatin1(language), folder.path() + "/nested");
        ASSERT_TRUE(url.isLocalFile());
        QFile page(url.toLocalFile());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        EXPECT_EQ(page.readAll().contains("lang=\"de\""), std::string_view(language) == "de");
    }
    // A folder that cannot be made gives no page rather than a URL to nothing.
    EXPECT_TRUE(PermissionHelpPage::materialize(QStringLiteral("en"), QStringLiteral("/proc/no/such")).isEmpty());
}

// A second start's hand-over and the capture request's way through the real program are in
// tests/e2e/single_instance_test.py.
TEST(SingleInstance, SecondStartLosesWithoutErrorAndOnlyKnownRequestsPass)
{
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    QString error;
    ASSERT_TRUE(first.becomePrimary(&error)) << error.toStdString();
    QSignalSpy received(&first, &SingleInstance::requestReceived);

    SingleInstance second(folder.path());
    EXPECT_FALSE(second.becomePrimary(&error));
    EXPECT_TRUE(error.isEmpty()) << "losing to a running instance is not an error";
    EXPECT_EQ(sendWhileServing(second, QStringLiteral("format the disk"), &error), SingleInstance::SendResult::Failed);
    EXPECT_EQ(error, QStringLiteral("unknown request"));
    EXPECT_TRUE(received.isEmpty());
}

TEST(SingleInstance, AStaleLockFromACrashStopsNobody)
{
    QTemporaryDir folder;
    SingleInstance client(folder.path());
    // What a crashed instance leaves: a lock naming a process that is gone, and its socket file.
    QFile lock(folder.filePath(QStringLiteral("quillora.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray("999999\n") + QCoreApplication::applicationName().toUtf8() + '\n' +
               QHostInfo::localHostName().toUtf8() + '\n');
    lock.close();
    QFile socket(folder.filePath(QStringLiteral("quillora.socket")));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    EXPECT_EQ(client.send(QStringLiteral("capture"), nullptr, 500), SingleInstance::SendResult::NoInstance);
    SingleInstance restarted(folder.path());
    QString error;
    EXPECT_TRUE(restarted.becomePrimary(&error)) << error.toStdString();
}
