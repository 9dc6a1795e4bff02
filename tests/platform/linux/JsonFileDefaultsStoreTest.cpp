#include "platform/linux/JsonFileDefaultsStore.h"

#include "LogCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(JsonFileDefaultsStore, KeepsKindsAcrossReloadAndWritesPrivately)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/settings.json"));
    {
        JsonFileDefaultsStore store(path);
        store.setValue("apiPort", 8080);
        store.setValue("apiToken", "abc");
        store.setValue("historyEnabled", false);
    }
    const auto others =
        QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    EXPECT_FALSE(QFile::permissions(path).testAnyFlags(others));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("nested"))).entryList(QDir::Files), QStringList({"settings.json"}))
        << "no temporary file left beside it";
    JsonFileDefaultsStore reloaded(path);
    EXPECT_EQ(*reloaded.value("apiPort"), nlohmann::json(8080));
    EXPECT_TRUE(reloaded.value("apiToken")->is_string());
    EXPECT_TRUE(reloaded.value("historyEnabled")->is_boolean());
}

TEST(JsonFileDefaultsStore, FileThatIsNotAnObjectIsMovedAsideNotOverwritten)
{
    for (const QByteArray& content : {QByteArray("[1,2,3]"), QByteArray("{\"apiPort\": 80")}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        LogCapture log;
        JsonFileDefaultsStore store(path);
        EXPECT_FALSE(store.contains("apiPort")) << content.constData();
        const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("settings.json.bad-*")});
        ASSERT_EQ(aside.size(), 1) << content.constData();
        // The user learns where the file went from this line only.
        EXPECT_EQ(log.systemLines().filter(aside.first()).size(), 1);

        store.setValue("apiPort", 1);
        QFile copy(dir.filePath(aside.first()));
        EXPECT_TRUE(copy.open(QIODevice::ReadOnly) && copy.readAll() == content) << "the copy aside is never touched";
    }
}

// Values stored by hand or by older versions are read leniently, as the settings expect.
TEST(DefaultsStore, CoercingReads)
{
    QTemporaryDir dir;
    JsonFileDefaultsStore store(dir.filePath(QStringLiteral("s.json")));
    struct Row {
        nlohmann::json stored;
        bool asBool;
        long long asInteger;
    };
    const std::vector<Row> rows = {
        {"yes", true, 0}, {"NO", false, 0},    {"-7", true, -7},
        {3.9, true, 3},   {nullptr, false, 0}, {"99999999999999999999", true, std::numeric_limits<long long>::max()},
    };
    for (const Row& row : rows) {
        store.setValue("k", row.stored);
        EXPECT_EQ(store.boolReading("k"), row.asBool) << row.stored.dump();
        EXPECT_EQ(store.integerReading("k"), row.asInteger) << row.stored.dump();
    }
}
