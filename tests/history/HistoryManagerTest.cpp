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
const char* idA = "AAAAAAAA-0000-4000-8000-000000000001";
const char* idB = "BBBBBBBB-0000-4000-8000-000000000002";

void writeFile(const QString& path, const QByteArray& bytes = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

struct Fixture {
    explicit Fixture(qint64 maxEntries = 50, qint64 autoDeleteDays = 30)
    {
        settings.setHistoryMaxEntries(maxEntries);
        settings.setHistoryAutoDeleteDays(autoDeleteDays);
    }
    std::unique_ptr<HistoryManager> open(QDateTime now = fixedNow)
    {
        return std::make_unique<HistoryManager>(settings, folder, [now] { return now; });
    }
    QString shot(const QString& name) const { return folder + QStringLiteral("/Screenshots/") + name; }
    QStringList shotFiles() const
    {
        return QDir(folder + QStringLiteral("/Screenshots")).entryList(QDir::Files | QDir::Hidden);
    }
    QList<HistoryEntry> stored() const { return HistoryEntry::decodeList(readFile(file)); }

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Quillora");
    const QString file = folder + QStringLiteral("/history.json");
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    AppSettings settings{store, loginItem};
    LogCapture log;
};

QImage testImage(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 3 + seed) & 255, (x ^ y) & 255));
    return image;
}

QStringList texts(const QList<HistoryEntry>& entries)
{
    QStringList result;
    for (const HistoryEntry& e : entries)
        result.append(e.text);
    return result;
}

QByteArray storedEntry(const char* id, const QDateTime& time, const char* screenshot = "")
{
    return QByteArray::fromStdString(std::string(R"({"id":")") + id + R"(","text":")" + id + R"(","timestamp":")" +
                                     HistoryEntry::formatTimestamp(time).toStdString() + R"(","screenshotFilename":")" +
                                     screenshot + "\"}");
}

} // namespace

TEST(HistoryManager, FirstUseCreatesFoldersButNoFileUntilTheFirstAdd)
{
    Fixture f;
    auto history = f.open();
    EXPECT_TRUE(f.log.containsSystem(QStringLiteral("📚 History file does not exist yet: ") + f.file));
    EXPECT_TRUE(QFileInfo(f.folder + QStringLiteral("/Screenshots")).isDir());
    EXPECT_FALSE(QFile::exists(f.file));

    f.settings.setHistoryEnabled(false);
    QSignalSpy changes(history.get(), &HistoryManager::entriesChanged);
    history->addEntry(QStringLiteral("off"), std::nullopt, QImage(), testImage(8, 8, 1));
    history->waitForPendingWrites();
    EXPECT_FALSE(QFile::exists(f.file));
    EXPECT_TRUE(f.shotFiles().isEmpty());

    f.settings.setHistoryEnabled(true);
    history->addEntry(QStringLiteral("on"), QStringLiteral("Manual Entry"), QImage(), QImage());
    EXPECT_EQ(mode(f.file), 0600);
    EXPECT_EQ(f.stored(), history->entries());
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<QList<HistoryEntry>>(), history->entries());
}

TEST(HistoryManager, PruningByCountRemovesTheOldestWithTheirScreenshots)
{
    const std::vector<std::tuple<const char*, qint64, QStringList>> rows = {
        {"full list drops its last entry", 2, {"new", "one"}},
        {"zero removes even the new entry", 0, {}},
        {"negative does not prune", -1, {"new", "one", "two"}},
    };
    for (const auto& [name, max, expected] : rows) {
        SCOPED_TRACE(name);
        Fixture f;
        auto history = f.open();
        history->addEntry(QStringLiteral("two"), std::nullopt, QImage(), testImage(16, 16, 2));
        history->addEntry(QStringLiteral("one"), std::nullopt, QImage(), testImage(16, 16, 1));
        history->waitForPendingWrites();
        const QString one = history->screenshotPath(history->entries().at(0));
        const QString two = history->screenshotPath(history->entries().at(1));

        f.settings.setHistoryMaxEntries(max);
        history->addEntry(QStringLiteral("new"), std::nullopt, QImage(), testImage(1920, 1080, 3));
        history->waitForPendingWrites();
        EXPECT_EQ(texts(history->entries()), expected);
        EXPECT_EQ(f.stored(), history->entries());
        EXPECT_EQ(QFile::exists(one), expected.contains(QStringLiteral("one")));
        EXPECT_EQ(QFile::exists(two), expected.contains(QStringLiteral("two")));
        EXPECT_EQ(f.shotFiles().size(), expected.size());
        EXPECT_EQ(f.log.systemLines().filter(QStringLiteral("⚠️ Ignoring negative historyMaxEntries")).size(),
                  max < 0 ? 1 : 0);
    }
}

TEST(HistoryManager, PruningByAgeUsesCalendarDaysAndKeepsTheCutoffItself)
{
    const QDateTime now = fixedNow.addMSecs(-400);
    const QDateTime berlinSpring(QDate(2025, 4, 10), QTime(12, 0), QTimeZone("Europe/Berlin"));
    const std::vector<std::tuple<const char*, qint64, QDateTime, QDateTime, bool>> rows = {
        {"exactly at the cutoff", 30, now, now.addDays(-30), true},
        {"a second before the cutoff", 30, now, now.addDays(-30).addSecs(-1), false},
        {"zero days never prunes", 0, now, now.addYears(-20), true},
        // From 10:00Z, 30 calendar days back cross the change to summer time: the cutoff is 11:00Z, not 10:00Z.
        {"calendar days", 30, berlinSpring, QDateTime(QDate(2025, 3, 11), QTime(10, 30), Qt::UTC), false},
    };
    for (const auto& [name, days, today, oldest, oldestKept] : rows) {
        SCOPED_TRACE(name);
        Fixture f(50, days);
        writeFile(f.file, "[" + storedEntry(idA, today) + "," + storedEntry(idB, oldest, "B.png") + "]");
        writeFile(f.shot(QStringLiteral("B.png")));
        auto history = f.open(today);
        EXPECT_EQ(history->count(), oldestKept ? 2 : 1);
        EXPECT_EQ(QFile::exists(f.shot(QStringLiteral("B.png"))), oldestKept);
        EXPECT_EQ(f.stored(), history->entries());
    }

    // With nothing left, the file keeps its content until the next save.
    Fixture f(50, 7);
    writeFile(f.file, "[" + storedEntry(idA, now.addDays(-8)) + "]");
    EXPECT_EQ(f.open()->count(), 0);
    EXPECT_EQ(f.stored().size(), 1);
}

TEST(HistoryManager, UnreadableFileIsMovedAsideAndNeverOverwritten)
{
    const QByteArray fractional = R"([{"id":"AAAAAAAA-0000-4000-8000-000000000001","text":"x",)"
                                  R"("timestamp":"2025-03-14T09:26:53.250Z"}])";
    for (const QByteArray& contents : {fractional, QByteArray("a folder")}) {
        SCOPED_TRACE(contents.toStdString());
        Fixture f;
        if (contents == "a folder")
            QDir().mkpath(f.file);
        else
            writeFile(f.file, contents);
        auto history = f.open();
        EXPECT_EQ(history->count(), 0);
        EXPECT_EQ(f.log.systemLines().filter(QStringLiteral("❌ Failed to load history: ")).size(), 1);

        history->addEntry(QStringLiteral("after"), std::nullopt, QImage(), QImage());
        const QStringList aside = QDir(f.folder).entryList({QStringLiteral("history.json.bad-*")}, QDir::AllEntries);
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readFile(f.folder + QLatin1Char('/') + aside.at(0)), contents == "a folder" ? "" : contents);
        EXPECT_EQ(texts(f.stored()), QStringList{QStringLiteral("after")});
    }
}

TEST(HistoryManager, EditingDeletingAndClearingKeepFilesAndListInStep)
{
    Fixture f;
    writeFile(f.file, "[" + storedEntry(idA, fixedNow) + "," + storedEntry(idB, fixedNow, "../outside.png") + "]");
    writeFile(f.folder + QStringLiteral("/outside.png"));
    writeFile(f.shot(QStringLiteral("orphan.png")));
    auto history = f.open();
    history->addEntry(QStringLiteral("shot"), std::nullopt, QImage(), testImage(16, 16, 1));
    history->waitForPendingWrites();
    const HistoryEntry shot = history->entries().at(0);

    // An entry deleted before its edit is saved is not brought back, and nothing is written.
    HistoryEntry gone = shot;
    gone.id = QUuid::createUuid();
    f.log.clear();
    history->updateEntry(gone, QStringLiteral("lost"));
    EXPECT_TRUE(f.log.systemLines().isEmpty());

    history->updateEntry(history->entry(QUuid::fromString(QLatin1String(idA))).value(), QStringLiteral("edited"));
    EXPECT_EQ(texts(f.stored()), QStringList({"shot", "edited", idB}));
    EXPECT_EQ(history->entries().at(1).timestamp, fixedNow.addMSecs(-400));

    // The name in the file points outside the screenshots folder: deleting the entry must not follow it.
    EXPECT_TRUE(history->deleteEntry(QUuid::fromString(QLatin1String(idB))));
    EXPECT_FALSE(history->deleteEntry(QUuid::fromString(QLatin1String(idB))));
    EXPECT_TRUE(QFile::exists(f.folder + QStringLiteral("/outside.png")));

    history->clearHistory();
    EXPECT_EQ(readFile(f.file), "[]");
    EXPECT_EQ(f.shotFiles(), QStringList{QStringLiteral("orphan.png")});
}

TEST(HistoryManager, ScreenshotsAreCompletePngFilesOrNoneAtAll)
{
    Fixture f;
    const QImage kept = testImage(3840, 2160, 2);
    std::optional<HistoryEntry> entry;
    {
        auto history = f.open();
        history->addEntry(QStringLiteral("deleted at once"), std::nullopt, QImage(), testImage(3840, 2160, 1));
        const HistoryEntry deleted = history->entries().at(0);
        history->addEntry(QStringLiteral("kept"), std::nullopt, QImage(), kept);
        entry = history->entries().at(0);
        EXPECT_TRUE(history->deleteEntry(deleted.id));
        EXPECT_TRUE(f.log.containsSystem(QStringLiteral("🗑️ Deleted screenshot: ") + *deleted.screenshotFilename));
    } // quitting waits for the remaining write
    EXPECT_EQ(f.shotFiles(), QStringList{*entry->screenshotFilename});
    EXPECT_EQ(QImage(f.shot(*entry->screenshotFilename)).convertToFormat(QImage::Format_RGB32), kept);
    EXPECT_EQ(mode(f.shot(*entry->screenshotFilename)), 0600);
    EXPECT_TRUE(f.log.containsSystem(QStringLiteral("📸 Saved screenshot: ") + *entry->screenshotFilename));
}

TEST(HistoryManager, FailedScreenshotWriteLeavesTheEntryWithoutScreenshot)
{
    Fixture f;
    auto history = f.open();
    // A plain file where the folder should be: the write cannot succeed.
    QDir(f.folder).rmdir(QStringLiteral("Screenshots"));
    writeFile(f.folder + QStringLiteral("/Screenshots"));

    history->addEntry(QStringLiteral("text survives"), std::nullopt, QImage(), testImage(16, 16, 1));
    history->waitForPendingWrites();
    EXPECT_EQ(f.log.systemLines().filter(QStringLiteral("❌ Failed to save screenshot: ")).size(), 1);
    ASSERT_EQ(texts(f.stored()), QStringList{QStringLiteral("text survives")});
    EXPECT_FALSE(f.stored().at(0).screenshotFilename || history->entries().at(0).screenshotFilename);
}

TEST(HistoryManager, ReadersOnAnotherThreadSeeWholeLists)
{
    Fixture f(1000);
    auto history = f.open();
    std::atomic<bool> done{false};
    std::atomic<int> inconsistent{0};
    std::thread reader([&] {
        while (!done) {
            // Newest first with one entry per add: the texts count down to 0.
            const QList<HistoryEntry> snapshot = history->entriesSnapshot();
            for (qsizetype i = 0; i < snapshot.size(); ++i)
                inconsistent += snapshot.at(i).text != QString::number(snapshot.size() - 1 - i);
            inconsistent += !snapshot.isEmpty() && (!history->entry(snapshot.at(0).id) || history->count() == 0);
        }
    });
    for (int i = 0; i < 100; ++i)
        history->addEntry(QString::number(i), std::nullopt, QImage(), QImage());
    done = true;
    reader.join();
    EXPECT_EQ(inconsistent, 0);
    EXPECT_EQ(history->count(), 100);
}
