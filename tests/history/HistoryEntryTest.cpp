#include "history/HistoryEntry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QString sampleId = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");

QByteArray entryJson(const std::string& members) {
    return QByteArray::fromStdString(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"t",)" + members + "}]");
}

} // namespace

TEST(HistoryEntry, WritesTheKeysInOrderAndOmitsAbsentOnes) {
    HistoryEntry full;
    full.id = QUuid::fromString(sampleId.toLower());
    full.text = QStringLiteral("Grüße\n\t\"quoted\"");
    full.timestamp = QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53, 789), Qt::UTC);
    full.displayName = QStringLiteral("LEFT");
    full.thumbnailData = QByteArray("\x89PNG", 4);
    full.screenshotFilename = QStringLiteral("A.png");
    HistoryEntry bare = full;
    bare.displayName.reset();
    bare.thumbnailData.reset();
    bare.screenshotFilename.reset();

    EXPECT_EQ(HistoryEntry::encodeList({}), "[]");
    EXPECT_EQ(HistoryEntry::encodeList({full, bare}),
              R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"Grüße\n\t\"quoted\"",)"
              R"("timestamp":"2025-03-14T09:26:53Z","displayName":"LEFT","thumbnailData":"iVBORw==",)"
              R"("screenshotFilename":"A.png"},)"
              R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"Grüße\n\t\"quoted\"",)"
              R"("timestamp":"2025-03-14T09:26:53Z"}])");

    const QList<HistoryEntry> back = HistoryEntry::decodeList(HistoryEntry::encodeList({full, bare}));
    ASSERT_EQ(back.size(), 2);
    full.timestamp = full.timestamp.addMSecs(-789);
    bare.timestamp = full.timestamp;
    EXPECT_EQ(back.at(0), full);
    EXPECT_EQ(back.at(1), bare);
}

TEST(HistoryEntry, ReadsWhatOtherWritersMayProduce) {
    struct Row {
        const char* name;
        std::string members;
        QDateTime timestamp;
        bool hasDisplayName;
    };
    const QDateTime utc(QDate(2025, 3, 14), QTime(9, 26, 53), Qt::UTC);
    const std::vector<Row> rows = {
        {"null optionals mean absent",
         R"("timestamp":"2025-03-14T09:26:53Z","displayName":null,)"
         R"("thumbnailData":null,"screenshotFilename":null)",
         utc, false},
        {"unknown keys are ignored", R"("timestamp":"2025-03-14T09:26:53Z","pinned":true,"displayName":"x")", utc,
         true},
        {"zone offset", R"("timestamp":"2025-03-14T10:56:53+01:30")", utc, false},
        {"negative zone offset", R"("timestamp":"2025-03-14T04:26:53-05:00")", utc, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QList<HistoryEntry> entries = HistoryEntry::decodeList(entryJson(row.members));
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries.at(0).timestamp, row.timestamp);
        EXPECT_EQ(entries.at(0).displayName.has_value(), row.hasDisplayName);
        EXPECT_FALSE(entries.at(0).thumbnailData || entries.at(0).screenshotFilename);
    }
    const QByteArray lowerCaseId = R"([{"id":"6f9619ff-8b86-d011-b42d-00c04fc964ff","text":"","timestamp":)"
                                   R"("2025-03-14T09:26:53Z"}])";
    EXPECT_EQ(HistoryEntry::formatId(HistoryEntry::decodeList(lowerCaseId).at(0).id), sampleId);
}

TEST(HistoryEntry, OneMalformedEntryFailsTheWholeList) {
    const std::string good =
        R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"t","timestamp":"2025-03-14T09:26:53Z"})";
    struct Row {
        const char* name;
        std::string json;
    };
    const std::vector<Row> rows = {
        {"missing timestamp", R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"t"}])"},
        {"fractional seconds",
         "[" + good + "," + entryJson(R"("timestamp":"2025-03-14T09:26:53.5Z")").mid(1).toStdString()},
        {"no zone", entryJson(R"("timestamp":"2025-03-14T09:26:53")").toStdString()},
        {"date that does not exist", entryJson(R"("timestamp":"2025-02-30T09:26:53Z")").toStdString()},
        {"date only", entryJson(R"("timestamp":"2025-03-14")").toStdString()},
        {"null text",
         R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":null,"timestamp":"2025-03-14T09:26:53Z"}])"},
        {"id with braces",
         R"([{"id":"{6F9619FF-8B86-D011-B42D-00C04FC964FF}","text":"t","timestamp":"2025-03-14T09:26:53Z"}])"},
        {"id not hexadecimal",
         R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FG","text":"t","timestamp":"2025-03-14T09:26:53Z"}])"},
        {"display name a number", entryJson(R"("timestamp":"2025-03-14T09:26:53Z","displayName":5)").toStdString()},
        {"thumbnail not Base64",
         entryJson(R"("timestamp":"2025-03-14T09:26:53Z","thumbnailData":"%%%")").toStdString()},
        {"entry not an object", "[" + good + ",42]"},
        {"object at the top", good},
        {"not JSON", "[" + good},
        {"empty file", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_THROW(HistoryEntry::decodeList(QByteArray::fromStdString(row.json)), std::runtime_error);
    }
}
