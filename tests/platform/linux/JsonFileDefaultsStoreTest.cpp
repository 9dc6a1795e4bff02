#include "platform/linux/JsonFileDefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Values stored by hand or by older versions are read leniently, as the settings expect; each value keeps its kind
// in the private file through a restart.
TEST(JsonFileDefaultsStore, CoercingReadsAcrossARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/settings.json"));
    const std::tuple<nlohmann::json, bool, long long> rows[] = {
        {"yes", true, 0},   {"NO", false, 0},    {"-7", true, -7},
        {3.9, true, 3},     {nullptr, false, 0}, {"99999999999999999999", true, std::numeric_limits<long long>::max()},
        {8080, true, 8080}, {false, false, 0},
    };
    for (const auto& [stored, asBool, asInteger] : rows) {
        JsonFileDefaultsStore(path).setValue("k", stored);
        JsonFileDefaultsStore store(path);
        EXPECT_EQ(store.value("k").value_or(nullptr), stored);
        EXPECT_EQ(store.boolReading("k"), asBool) << stored.dump();
        EXPECT_EQ(store.integerReading("k"), asInteger) << stored.dump();
    }
    EXPECT_EQ(QFile::permissions(path) & 0x0077, 0) << "group or others may read or write it";
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("nested"))).entryList(QDir::Files), QStringList({"settings.json"}))
        << "no temporary file left beside it";
}
