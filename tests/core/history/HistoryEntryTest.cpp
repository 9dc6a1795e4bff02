#include "core/history/HistoryEntry.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(HistoryEntry, WritesTheKeysInOrderAndOmitsAbsentOnes)
{
    HistoryEntry full;
    full.id = QUuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
    full.text = QStringLiteral("Grüße\n\t\"quoted\"");
    full.timestamp = QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53, 789), Qt::UTC);
    HistoryEntry bare = full;
    full.displayName = QStringLiteral("LEFT");
    full.thumbnailData = QByteArray("\x89PNG", 4);
    full.screenshotFilename = QStringLiteral("A.png");

    const QByteArray head = R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"Grüße\n\t\"quoted\"",)"
                            R"("timestamp":"2025-03-14T09:26:53Z")";
    EXPECT_EQ(HistoryEntry::encodeList({full, bare}),
              "[" + head + R"(,"displayName":"LEFT","thumbnailData":"iVBORw==","screenshotFilename":"A.png"},)" + head +
                  "}]");

    // Read back, the sub-second part is gone and everything else is kept.
    full.timestamp = full.timestamp.addMSecs(-789);
    bare.timestamp = full.timestamp;
    EXPECT_EQ(HistoryEntry::decodeList(HistoryEntry::encodeList({full, bare})), QList<HistoryEntry>({full, bare}));
}

// The file may come from another writer or have been edited by hand: what reads as the same entry as a plain one,
// and what fails the whole list (one bad entry after a good one is enough; the caller then keeps the file aside).
TEST(HistoryEntry, ReadRules)
{
    const std::string plain =
        R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"t","timestamp":"2025-03-14T09:26:53Z"})";
    const auto read = [&](const std::string& second) {
        return HistoryEntry::decodeList(QByteArray::fromStdString("[" + plain + ",{" + second + "}]"));
    };
    const QList<HistoryEntry> same = read(R"("id":"6f9619ff-8b86-d011-b42d-00c04fc964ff","text":"t",)"
                                          R"("timestamp":"2025-03-14T04:26:53-05:00","displayName":null,)"
                                          R"("thumbnailData":null,"screenshotFilename":null,"pinned":true)");
    EXPECT_EQ(same.at(1), same.at(0)) << "lower-case id, zone offset, null optionals, unknown key";

    const std::string head = R"("id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","text":"t",)";
    const std::vector<std::pair<const char*, std::string>> bad = {
        {"id in braces",
         R"("id":"{6F9619FF-8B86-D011-B42D-00C04FC964FF}","text":"t","timestamp":"2025-03-14T09:26:53Z")"},
        {"missing timestamp", head + R"("displayName":"x")"},
        {"fractional seconds", head + R"("timestamp":"2025-03-14T09:26:53.5Z")"},
        {"display name a number", head + R"("timestamp":"2025-03-14T09:26:53Z","displayName":5)"},
        {"thumbnail not Base64", head + R"("timestamp":"2025-03-14T09:26:53Z","thumbnailData":"%%%")"},
    };
    for (const auto& [name, second] : bad)
        EXPECT_THROW(read(second), std::runtime_error) << name;
}
