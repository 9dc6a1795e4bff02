#include "widgets/shell/Localization.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
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
