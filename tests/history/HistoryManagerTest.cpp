#include "history/HistoryManager.h"

#include "LogCapture.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "settings/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <sys/stat.h>

namespace {

const QDateTime fixedNow(QDate(2025, 3, 14), QTime(9, 26, 53, 400), Qt::UTC);

struct Fixture {
    explicit Fixture(qint64 maxEntries = 50, qint64 autoDeleteDays = 30) {
        settings.setHistoryMaxEntries(maxEntries);
        settings.setHistoryAutoDeleteDays(autoDeleteDays);
    }
    std::unique_ptr<HistoryManager> open(QDateTime now = fixedNow) {
        return std::make_unique<HistoryManager>(settings, folder(), [now] { return now; });
    }
    QString folder() const { return dir.path() + QStringLiteral("/Quillora"); }
    QString file() const { return folder() + QStringLiteral("/history.json"); }
    QString shot(const QString& name) const { return folder() + QStringLiteral("/Screenshots/") + name; }
    QByteArray contents() const {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QByteArray& bytes) {
        QDir().mkpath(folder());
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    AppSettings settings{store, loginItem};
    LogCapture log;
};

QImage testImage(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 3 + seed) & 255, (x ^ y) & 255));
    return image;
}

int mode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

QStringList texts(const QList<HistoryEntry>& entries) {
    QStringList result;
    for (const HistoryEntry& e : entries)
        result.append(e.text);
    return result;
}

std::string stamp(const QDateTime& time) {
    return HistoryEntry::formatTimestamp(time).toStdString();
}

QByteArray storedEntry(const char* id, const QDateTime& time, const char* screenshot = nullptr) {
    std::string json =
        std::string(R"({"id":")") + id + R"(","text":")" + id + R"(","timestamp":")" + stamp(time) + "\"";
    if (screenshot)
        json += std::string(R"(,"screenshotFilename":")") + screenshot + "\"";
    return QByteArray::fromStdString(json + "}");
}

const char* idA = "AAAAAAAA-0000-4000-8000-000000000001";
const char* idB = "BBBBBBBB-0000-4000-8000-000000000002";

} // namespace

TEST(HistoryManager, FirstUseCreatesFoldersButNoFileUntilTheFirstAdd) {
    Fixture f;
    auto history = f.open();
    EXPECT_TRUE(f.log.containsSystem(QStringLiteral("📚 History file does not exist yet: ") + f.file()));
    EXPECT_TRUE(QFileInfo(f.folder() + QStringLiteral("/Screenshots")).isDir());
    EXPECT_FALSE(QFile::exists(f.file()));

    f.settings.setHistoryEnabled(false);
    QSignalSpy changes(history.get(), &HistoryManager::entriesChanged);
    history->addEntry(QStringLiteral("off"), std::nullopt, QImage(), testImage(8, 8, 1));
    history->waitForPendingWrites();
    EXPECT_EQ(changes.count(), 0);
    EXPECT_FALSE(QFile::exists(f.file()));
    EXPECT_TRUE(QDir(f.folder() + QStringLiteral("/Screenshots")).isEmpty());

    f.settings.setHistoryEnabled(true);
    history->addEntry(QStringLiteral("on"), QStringLiteral("Manual Entry"), QImage(), QImage());
    EXPECT_EQ(mode(f.file()), 0600);
    EXPECT_EQ(HistoryEntry::decodeList(f.contents()), history->entries());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.last().at(0).value<QList<HistoryEntry>>(), history->entries());
}

TEST(HistoryManager, ScreenshotsAreWrittenAsPngFilesOwnedByTheUser) {
    Fixture f;
    auto history = f.open();
    const QImage first = testImage(320, 200, 1), second = testImage(64, 48, 2);
    history->addEntry(QStringLiteral("one"), QStringLiteral("LEFT"), QImage(), first);
    history->addEntry(QStringLiteral("two"), QStringLiteral("LEFT"), QImage(), second);
    history->waitForPendingWrites();

    const QList<HistoryEntry> entries = history->entries();
    ASSERT_EQ(texts(entries), QStringList({QStringLiteral("two"), QStringLiteral("one")}));
    ASSERT_TRUE(entries.at(0).screenshotFilename && entries.at(1).screenshotFilename);
    EXPECT_NE(*entries.at(0).screenshotFilename, *entries.at(1).screenshotFilename);
    EXPECT_TRUE(HistoryEntry::parseId(entries.at(0).screenshotFilename->chopped(4)));
    EXPECT_EQ(QImage(history->screenshotPath(entries.at(0))).convertToFormat(QImage::Format_RGB32), second);
    EXPECT_EQ(QImage(history->screenshotPath(entries.at(1))).convertToFormat(QImage::Format_RGB32), first);
    EXPECT_EQ(mode(history->screenshotPath(entries.at(0))), 0600);
    EXPECT_EQ(QDir(f.folder() + QStringLiteral("/Screenshots")).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(f.log.containsSystem(QStringLiteral("📸 Saved screenshot: ") + *entries.at(0).screenshotFilename));
}

TEST(HistoryManager, PruningByCountRemovesTheOldestWithTheirScreenshots) {
    struct Row {
        const char* name;
        qint64 max;
        QStringList expected;
    };
    const std::vector<Row> rows = {
        {"full list drops its last entry", 2, {"new", "one"}},
        {"zero removes even the new entry", 0, {}},
        {"negative does not prune", -1, {"new", "one", "two"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fixture f(row.max);
        f.settings.setHistoryMaxEntries(50);
        auto history = f.open();
        history->addEntry(QStringLiteral("two"), std::nullopt, QImage(), testImage(16, 16, 2));
        history->addEntry(QStringLiteral("one"), std::nullopt, QImage(), testImage(16, 16, 1));
        history->waitForPendingWrites();
        QStringList files;
        for (const HistoryEntry& e : history->entries())
            files.append(history->screenshotPath(e));
        f.settings.setHistoryMaxEntries(row.max);

        history->addEntry(QStringLiteral("new"), std::nullopt, QImage(), testImage(1920, 1080, 3));
        history->waitForPendingWrites();
        EXPECT_EQ(texts(history->entries()), row.expected);
        EXPECT_EQ(HistoryEntry::decodeList(f.contents()), history->entries());
        EXPECT_EQ(QFile::exists(files.at(0)), row.expected.contains(QStringLiteral("one")));
        EXPECT_EQ(QFile::exists(files.at(1)), row.expected.contains(QStringLiteral("two")));
        EXPECT_EQ(QDir(f.folder() + QStringLiteral("/Screenshots")).entryList(QDir::Files | QDir::Hidden).size(),
                  row.expected.size());
        EXPECT_EQ(f.log.systemLines().filter(QStringLiteral("⚠️ Ignoring negative historyMaxEntries")).size(),
                  row.max < 0 ? 1 : 0);
    }
}

TEST(HistoryManager, PruningByAgeUsesCalendarDaysAndKeepsTheCutoffItself) {
    struct Row {
        const char* name;
        qint64 days;
        QDateTime now;
        QDateTime oldest;
        bool oldestKept;
    };
    const QDateTime berlinSpring(QDate(2025, 4, 10), QTime(12, 0), QTimeZone("Europe/Berlin"));
    const QDateTime now = fixedNow.addMSecs(-fixedNow.time().msec());
    const std::vector<Row> rows = {
        {"exactly at the cutoff", 30, now, now.addDays(-30), true},
        {"a second before the cutoff", 30, now, now.addDays(-30).addSecs(-1), false},
        {"zero days never prunes", 0, now, now.addYears(-20), true},
        // 30 calendar days back from 10:00Z crosses the change to summer time: the cutoff is 12:00 local time,
        // 11:00Z, not 10:00Z.
        {"calendar days across summer time", 30, berlinSpring, QDateTime(QDate(2025, 3, 11), QTime(10, 30), Qt::UTC),
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fixture f(50, row.days);
        f.write("[" + storedEntry(idA, row.now) + "," + storedEntry(idB, row.oldest, "B.png") + "]");
        QFile shot(f.shot(QStringLiteral("B.png")));
        QDir().mkpath(f.folder() + QStringLiteral("/Screenshots"));
        ASSERT_TRUE(shot.open(QIODevice::WriteOnly));
        shot.close();

        auto history = f.open(row.now);
        EXPECT_EQ(history->count(), row.oldestKept ? 2 : 1);
        EXPECT_EQ(QFile::exists(shot.fileName()), row.oldestKept);
        EXPECT_EQ(HistoryEntry::decodeList(f.contents()).size(), history->count());
    }
}

TEST(HistoryManager, WhenEverythingExpiredTheFileWaitsForTheNextSave) {
    Fixture f(50, 7);
    const QByteArray stored = "[" + storedEntry(idA, fixedNow.addDays(-8)) + "]";
    f.write(stored);
    auto history = f.open();
    EXPECT_EQ(history->count(), 0);
    EXPECT_EQ(f.contents(), stored);
}

TEST(HistoryManager, UnreadableFileIsMovedAsideAndNeverOverwritten) {
    struct Row {
        const char* name;
        QByteArray contents;
    };
    const std::vector<Row> rows = {
        {"fractional seconds", R"([{"id":"AAAAAAAA-0000-4000-8000-000000000001","text":"x",)"
                               R"("timestamp":"2025-03-14T09:26:53.250Z"}])"},
        {"truncated", "[{\"id\":"},
        {"a folder in its place", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fixture f;
        if (row.contents.isEmpty())
            QDir().mkpath(f.file());
        else
            f.write(row.contents);
        auto history = f.open();
        EXPECT_EQ(history->count(), 0);
        EXPECT_EQ(f.log.systemLines().filter(QStringLiteral("❌ Failed to load history: ")).size(), 1);

        history->addEntry(QStringLiteral("after"), std::nullopt, QImage(), QImage());
        const QStringList aside = QDir(f.folder()).entryList({QStringLiteral("history.json.bad-*")}, QDir::AllEntries);
        ASSERT_EQ(aside.size(), 1);
        if (!row.contents.isEmpty()) {
            QFile kept(f.folder() + QLatin1Char('/') + aside.at(0));
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), row.contents);
        }
        EXPECT_EQ(texts(HistoryEntry::decodeList(f.contents())), QStringList{QStringLiteral("after")});
    }
}

TEST(HistoryManager, EditingDeletingAndClearingKeepFilesAndListInStep) {
    Fixture f;
    f.write("[" + storedEntry(idA, fixedNow) + "," + storedEntry(idB, fixedNow, "../outside.png") + "]");
    QFile outside(f.folder() + QStringLiteral("/outside.png"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    auto history = f.open();
    history->addEntry(QStringLiteral("shot"), std::nullopt, QImage(), testImage(16, 16, 1));
    history->waitForPendingWrites();
    const HistoryEntry shot = history->entries().at(0);
    QFile orphan(f.shot(QStringLiteral("orphan.png")));
    ASSERT_TRUE(orphan.open(QIODevice::WriteOnly));
    orphan.close();

    // An entry that is gone by the time its edit is saved is not brought back, and nothing is written.
    HistoryEntry gone = shot;
    gone.id = QUuid::createUuid();
    f.log.clear();
    history->updateEntry(gone, QStringLiteral("lost"));
    EXPECT_TRUE(f.log.systemLines().isEmpty());

    history->updateEntry(history->entry(QUuid::fromString(QLatin1String(idA))).value(), QStringLiteral("edited"));
    EXPECT_EQ(texts(history->entries()), QStringList({"shot", "edited", idB}));
    EXPECT_EQ(history->entries().at(1).timestamp, fixedNow.addMSecs(-400));

    // The name in the file points outside the screenshots folder: deleting the entry must not follow it.
    EXPECT_TRUE(history->deleteEntry(QUuid::fromString(QLatin1String(idB))));
    EXPECT_FALSE(history->deleteEntry(QUuid::fromString(QLatin1String(idB))));
    EXPECT_TRUE(outside.exists());

    history->clearHistory();
    EXPECT_EQ(f.contents(), "[]");
    EXPECT_FALSE(QFile::exists(history->screenshotPath(shot)));
    EXPECT_TRUE(orphan.exists());
}

TEST(HistoryManager, PendingScreenshotsAreCancelledOrFinishedNeverLeftHalfWay) {
    Fixture f;
    QString kept;
    {
        auto history = f.open();
        history->addEntry(QStringLiteral("deleted at once"), std::nullopt, QImage(), testImage(3840, 2160, 1));
        const HistoryEntry deleted = history->entries().at(0);
        history->addEntry(QStringLiteral("kept"), std::nullopt, QImage(), testImage(3840, 2160, 2));
        kept = history->screenshotPath(history->entries().at(0));
        EXPECT_TRUE(history->deleteEntry(deleted.id));
        EXPECT_TRUE(f.log.containsSystem(QStringLiteral("🗑️ Deleted screenshot: ") + *deleted.screenshotFilename));
    } // quitting waits for the remaining write
    EXPECT_EQ(QDir(f.folder() + QStringLiteral("/Screenshots")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(kept).fileName()});
    EXPECT_EQ(QImage(kept).size(), QSize(3840, 2160));
}

TEST(HistoryManager, FailedScreenshotWriteLeavesTheEntryWithoutScreenshot) {
    Fixture f;
    auto history = f.open();
    // A plain file where the folder should be: the write cannot succeed.
    QDir(f.folder()).rmdir(QStringLiteral("Screenshots"));
    QFile blocker(f.folder() + QStringLiteral("/Screenshots"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    history->addEntry(QStringLiteral("text survives"), std::nullopt, QImage(), testImage(16, 16, 1));
    history->waitForPendingWrites();
    EXPECT_EQ(f.log.systemLines().filter(QStringLiteral("❌ Failed to save screenshot: ")).size(), 1);
    ASSERT_EQ(history->count(), 1);
    EXPECT_FALSE(history->entries().at(0).screenshotFilename);
    EXPECT_EQ(HistoryEntry::decodeList(f.contents()), history->entries());
}

TEST(HistoryManager, ReadersOnAnotherThreadSeeWholeLists) {
    Fixture f(1000);
    auto history = f.open();
    std::atomic<bool> done{false};
    std::atomic<int> inconsistent{0};
    std::thread reader([&] {
        qsizetype last = 0;
        while (!done) {
            const QList<HistoryEntry> snapshot = history->entriesSnapshot();
            // Newest first with one entry per add: the texts count down to 0.
            for (qsizetype i = 0; i < snapshot.size(); ++i)
                if (snapshot.at(i).text != QString::number(snapshot.size() - 1 - i))
                    ++inconsistent;
            if (snapshot.size() < last || (!snapshot.isEmpty() && !history->entry(snapshot.at(0).id)))
                ++inconsistent;
            last = snapshot.size();
        }
    });
    for (int i = 0; i < 300; ++i)
        history->addEntry(QString::number(i), std::nullopt, QImage(), QImage());
    done = true;
    reader.join();
    EXPECT_EQ(inconsistent, 0);
    EXPECT_EQ(history->count(), 300);
}
