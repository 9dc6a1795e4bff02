#include "core/shell/HotkeyText.h"
#include "core/shell/SingleInstance.h"
#include "widgets/shell/Localization.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QHostInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

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

// The hotkey is written in the person's language, as the desktop writes key names (Qt's own translations).
TEST(Localization, HotkeyInTheDesktopsWordsFollowsTheLanguage)
{
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("de_DE")));
    const QString german = HotkeyText::desktopString(26, 768);
    const QString superAlt = HotkeyText::desktopString(96, 4096 + 2048);
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(german, QStringLiteral("Strg+Umschalt+7"));
    EXPECT_EQ(superAlt, QStringLiteral("Super+Alt+F5"));
    EXPECT_EQ(HotkeyText::desktopString(26, 768), QStringLiteral("Ctrl+Shift+7"));
}

// A second start's hand-over to a running instance is driven through the real program in tests/e2e/api_e2e.py.
TEST(SingleInstance, AStaleLockFromACrashStopsNobody)
{
    QTemporaryDir folder;
    SingleInstance client(folder.path());
    // What a crashed instance leaves: a lock naming a process that is gone, and its socket file.
    QFile lock(folder.filePath(QStringLiteral(QUILLORA_APP_ID ".lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray("999999\n") + QCoreApplication::applicationName().toUtf8() + '\n' +
               QHostInfo::localHostName().toUtf8() + '\n');
    lock.close();
    QFile socket(folder.filePath(QStringLiteral(QUILLORA_APP_ID ".socket")));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    EXPECT_EQ(client.send(QStringLiteral("capture"), nullptr, 500), SingleInstance::SendResult::NoInstance);
    SingleInstance restarted(folder.path());
    QString error;
    EXPECT_TRUE(restarted.becomePrimary(&error)) << error.toStdString();
}
