#include "platform/linux/JsonFileDefaultsStore.h"

#include "LogCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(JsonFileDefaultsStore, KeepsKindsAcrossReloadAndWritesPrivately)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/Quillora/settings.json"));
    {
        JsonFileDefaultsStore store(path);
        EXPECT_FALSE(store.contains("apiPort"));
        EXPECT_FALSE(QFile::exists(path)) << "nothing is written before the first assignment";
        store.setValue("apiPort", 8080);
        store.setValue("apiToken", "abc");
        store.setValue("historyEnabled", false);
    }
    EXPECT_EQ(QFile::permissions(path) &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    JsonFileDefaultsStore reloaded(path);
    EXPECT_EQ(*reloaded.value("apiPort"), nlohmann::json(8080));
    EXPECT_TRUE(reloaded.value("apiToken")->is_string());
    EXPECT_TRUE(reloaded.value("historyEnabled")->is_boolean());
}

TEST(JsonFileDefaultsStore, FileThatIsNotAnObjectIsMovedAsideNotOverwritten)
{
    for (const QByteArray& content : {QByteArray("[1,2,3]"), QByteArray("{\"apiPort\": 80"), QByteArray("\"x\"")}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        LogCapture log;
        JsonFileDefaultsStore store(path);
        EXPECT_FALSE(store.contains("apiPort")) << content.constData();
        EXPECT_FALSE(QFile::exists(path));
        const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("settings.json.bad-*")});
        ASSERT_EQ(aside.size(), 1) << content.constData();
        EXPECT_EQ(readAll(dir.filePath(aside.first())), content);
        ASSERT_EQ(log.systemLines().size(), 1);
        EXPECT_TRUE(log.systemLines().first().contains(aside.first()));

        store.setValue("apiPort", 1);
        EXPECT_EQ(readAll(dir.filePath(aside.first())), content) << "the saved-aside copy is never touched";
    }
}

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
        {"YES", true, 0},     {"yes", true, 0},
        {"true", true, 0},    {"NO", false, 0},
        {"1234", true, 1234}, {" 42x", true, 42},
        {"-7", true, -7},     {"0", false, 0},
        {"", false, 0},       {true, true, 1},
        {false, false, 0},    {3.9, true, 3},
        {0, false, 0},        {nullptr, false, 0},
        {"00012", true, 12},  {"99999999999999999999", true, std::numeric_limits<long long>::max()},
    };
    for (const Row& row : rows) {
        store.setValue("k", row.stored);
        EXPECT_EQ(store.boolReading("k"), row.asBool) << row.stored.dump();
        EXPECT_EQ(store.integerReading("k"), row.asInteger) << row.stored.dump();
    }
    EXPECT_FALSE(store.boolReading("absent"));
    EXPECT_EQ(store.integerReading("absent"), 0);
}
