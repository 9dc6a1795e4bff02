#include "history/HistoryEntry.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(HistoryEntry, WritesTheKeysInOrderAndOmitsAbsentOnes)
{
    HistoryEntry full;
    full.id = QUuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
    full.text = QStringLiteral("Grüße\n\t\"quoted\"");
    full.timestamp = QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53, 789), Qt::UTC);
    full.displayName = QStringLiteral("LEFT");
    full.thumbnailData = QByteArray("\x89PNG", 4);
    full.screenshotFilename = QStringLiteral("A.png");
    HistoryEntry bare = full;
    bare.displayName = std::nullopt;
    bare.thumbnailData = std::nullopt;
    bare.screenshotFilename = std::nullopt;

    const QByteArray head = R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"Grüße\n\t\"quoted\"",)"
                            R"("timestamp":"2025-03-14T09:26:53Z")";
    EXPECT_EQ(HistoryEntry::encodeList({}), "[]");
    EXPECT_EQ(HistoryEntry::encodeList({full, bare}),
              "[" + head + R"(,"displayName":"LEFT","thumbnailData":"iVBORw==","screenshotFilename":"A.png"},)" + head +
                  "}]");

    // Read back, the sub-second part is gone and everything else is kept.
    full.timestamp = full.timestamp.addMSecs(-789);
    bare.timestamp = full.timestamp;
    EXPECT_EQ(HistoryEntry::decodeList(HistoryEntry::encodeList({full, bare})), QList<HistoryEntry>({full, bare}));
}

// Each row: the members after "id" and "text" of the only entry, and the timestamp read (invalid: the list fails).
TEST(HistoryEntry, ReadRules)
{
    const QDateTime utc(QDate(2025, 3, 14), QTime(9, 26, 53), Qt::UTC);
    const std::vector<std::tuple<const char*, std::string, QDateTime>> rows = {
        {"null optionals mean absent",
         R"("timestamp":"2025-03-14T09:26:53Z","displayName":null,"thumbnailData":null,"screenshotFilename":null)",
         utc},
        {"unknown keys are ignored", R"("timestamp":"2025-03-14T09:26:53Z","pinned":true)", utc},
        {"zone offset", R"("timestamp":"2025-03-14T10:56:53+01:30")", utc},
        {"negative zone offset", R"("timestamp":"2025-03-14T04:26:53-05:00")", utc},
        {"missing timestamp", R"("displayName":"x")", {}},
        {"fractional seconds", R"("timestamp":"2025-03-14T09:26:53.5Z")", {}},
        {"no zone", R"("timestamp":"2025-03-14T09:26:53")", {}},
        {"date that does not exist", R"("timestamp":"2025-02-30T09:26:53Z")", {}},
        {"display name a number", R"("timestamp":"2025-03-14T09:26:53Z","displayName":5)", {}},
        {"thumbnail not Base64", R"("timestamp":"2025-03-14T09:26:53Z","thumbnailData":"%%%")", {}},
    };
    for (const auto& [name, members, timestamp] : rows) {
        SCOPED_TRACE(name);
        // A good entry in front: one bad entry fails the whole list.
        const std::string good = R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"t","timestamp":)"
                                 R"("2025-01-01T00:00:00Z"},)";
        const QByteArray json = QByteArray::fromStdString(
            "[" + good + R"({"id":"6f9619ff-8b86-d011-b42d-00c04fc964ff","text":"t",)" + members + "}]");
        if (!timestamp.isValid()) {
            EXPECT_THROW(HistoryEntry::decodeList(json), std::runtime_error);
            continue;
        }
        const HistoryEntry entry = HistoryEntry::decodeList(json).at(1);
        EXPECT_EQ(entry.timestamp, timestamp);
        EXPECT_FALSE(entry.displayName || entry.thumbnailData || entry.screenshotFilename);
        EXPECT_EQ(HistoryEntry::formatId(entry.id), QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    }
    for (const char* json : {"{}", "[", "",
                             R"([{"id":"{6F9619FF-8B86-D011-B42D-00C04FC964FF}","text":"t",)"
                             R"("timestamp":"2025-03-14T09:26:53Z"}])"})
        EXPECT_THROW(HistoryEntry::decodeList(json), std::runtime_error) << json;
}
