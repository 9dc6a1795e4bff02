#include "core/history/HistoryManager.h"

#include "TestStores.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimeZone>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

// As the owner sees a file of mode 0600.
const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

struct Fixture : TestSettings {
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
};

QImage testImage(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 3 + seed) & 255, (x ^ y) & 255));
    return image;
}

QByteArray storedEntry(const char* id, const QDateTime& time, const QString& screenshot = {})
{
    return QStringLiteral(R"({"id":"%1","text":"%1","timestamp":"%2","screenshotFilename":"%3"})")
        .arg(QLatin1String(id), HistoryEntry::formatTimestamp(time), screenshot)
        .toUtf8();
}

} // namespace

TEST(HistoryManager, NothingIsWrittenWhileDisabledAndTheFileIsPrivate)
{
    Fixture f;
    auto history = f.open();
    f.settings.setHistoryEnabled(false);
    history->addEntry(QStringLiteral("off"), std::nullopt, QImage(), testImage(8, 8, 1));
    history->waitForPendingWrites();
    EXPECT_FALSE(QFile::exists(f.file));
    EXPECT_TRUE(f.shotFiles().isEmpty());

    f.settings.setHistoryEnabled(true);
    history->addEntry(QStringLiteral("on"), QStringLiteral("Manual Entry"), QImage(), QImage());
    history->waitForPendingWrites();
    EXPECT_EQ(QFile::permissions(f.file), ownerOnly);
    EXPECT_EQ(f.stored(), history->entries());
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
        const QString two = history->screenshotPath(history->entries().at(1));

        f.settings.setHistoryMaxEntries(max);
        // Large enough to be still pending when the same add prunes it.
        history->addEntry(QStringLiteral("new"), std::nullopt, QImage(), testImage(1920, 1080, 3));
        history->waitForPendingWrites();
        EXPECT_EQ(textsOf(history->entries()), expected);
        EXPECT_EQ(f.stored(), history->entries());
        EXPECT_EQ(QFile::exists(two), expected.contains(QStringLiteral("two")));
        EXPECT_EQ(f.shotFiles().size(), expected.size());
    }
}

TEST(HistoryManager, PruningByAgeUsesCalendarDaysAndKeepsTheCutoffItself)
{
    const QDateTime now = fixedNow.addMSecs(-400);
    const QDateTime berlinSpring(QDate(2025, 4, 10), QTime(12, 0), QTimeZone("Europe/Berlin"));
    // The clock, then the times of the two stored entries, the second with a screenshot; how many are kept.
    const std::vector<std::tuple<const char*, qint64, QDateTime, QDateTime, QDateTime, int>> rows = {
        {"exactly at the cutoff", 30, now, now, now.addDays(-30), 2},
        {"zero days never prunes", 0, now, now, now.addYears(-20), 2},
        // From 10:00Z, 30 calendar days back cross the change to summer time: the cutoff is 11:00Z, not 10:00Z.
        {"calendar days", 30, berlinSpring, berlinSpring, QDateTime(QDate(2025, 3, 11), QTime(10, 30), Qt::UTC), 1},
        // The file must say so too, or a later start with a longer limit brings them back without screenshots.
        {"every entry past the cutoff", 30, now, now.addDays(-31), now.addDays(-40), 0},
    };
    for (const auto& [name, days, today, newest, oldest, kept] : rows) {
        SCOPED_TRACE(name);
        Fixture f;
        f.settings.setHistoryAutoDeleteDays(days);
        writeFile(f.file,
                  "[" + storedEntry(idA, newest) + "," + storedEntry(idB, oldest, QStringLiteral("B.png")) + "]");
        writeFile(f.shot(QStringLiteral("B.png")));
        auto history = f.open(today);
        history->waitForPendingWrites();
        EXPECT_EQ(history->count(), kept);
        EXPECT_EQ(QFile::exists(f.shot(QStringLiteral("B.png"))), kept == 2);
        EXPECT_EQ(f.stored(), history->entries());
    }
}

// What a crash between a screenshot's rename and the next write of the file leaves: a screenshot no entry names,
// removed at the next start. Files of other names stay; so does everything after an unreadable file, which is moved
// aside as it was (it may name them) and never overwritten.
TEST(HistoryManager, AStartRemovesScreenshotsNoEntryNamesAndMovesAnUnreadableFileAside)
{
    const QString named = QStringLiteral("AAAAAAAA-0000-4000-8000-0000000000AA.png");
    const QString unnamed = QStringLiteral("CCCCCCCC-0000-4000-8000-0000000000CC.png");
    const QString lowerCase = QStringLiteral("cccccccc-0000-4000-8000-0000000000dd.png");
    const QStringList foreign{QStringLiteral("orphan.png"), QStringLiteral("notes.txt"), lowerCase,
                              QStringLiteral("CCCCCCCC-0000-4000-8000-0000000000CC.png.bak")};
    const QByteArray listing = "[" + storedEntry(idA, fixedNow, named) + "]";
    // The history file (none: not there), the screenshots kept, the texts stored after one more add, and whether
    // the file was moved aside.
    const std::tuple<const char*, std::optional<QByteArray>, QStringList, QStringList, bool> cases[] = {
        {"a readable file", listing, foreign + QStringList{named}, {"after", idA}, false},
        {"no file yet", std::nullopt, foreign, {"after"}, false},
        {"an unreadable file", listing.chopped(1), foreign + QStringList{named, unnamed}, {"after"}, true},
    };
    for (const auto& [name, file, kept, texts, movedAside] : cases) {
        SCOPED_TRACE(name);
        Fixture f;
        if (file)
            writeFile(f.file, *file);
        for (const QString& shot : foreign + QStringList{named, unnamed})
            writeFile(f.shot(shot), "png");
        auto history = f.open();
        QStringList files = f.shotFiles(), expected = kept;
        files.sort();
        expected.sort();
        EXPECT_EQ(files, expected);

        history->addEntry(QStringLiteral("after"), std::nullopt, QImage(), QImage());
        history->waitForPendingWrites();
        EXPECT_EQ(textsOf(f.stored()), texts);
        const QStringList aside = QDir(f.folder).entryList({QStringLiteral("history.json.bad-*")});
        ASSERT_EQ(aside.size(), movedAside ? 1 : 0);
        for (const QString& copy : aside)
            EXPECT_EQ(readFile(f.folder + u'/' + copy), *file);
    }
}

TEST(HistoryManager, DeletingAndClearingRemoveOnlyScreenshotsOfListedEntries)
{
    Fixture f;
    // A name in the file that points outside the screenshots folder: deleting its entry must not follow it.
    writeFile(f.file, "[" + storedEntry(idA, fixedNow) + "," +
                          storedEntry(idB, fixedNow, QStringLiteral("../outside.png")) + "]");
    writeFile(f.folder + QStringLiteral("/outside.png"));
    writeFile(f.shot(QStringLiteral("orphan.png")));
    auto history = f.open();
    history->addEntry(QStringLiteral("shot"), std::nullopt, QImage(), testImage(16, 16, 1));
    history->waitForPendingWrites();

    EXPECT_TRUE(history->deleteEntry(QUuid::fromString(QLatin1String(idB))));
    history->waitForPendingWrites();
    EXPECT_TRUE(QFile::exists(f.folder + QStringLiteral("/outside.png")));
    EXPECT_EQ(textsOf(f.stored()), QStringList({"shot", idA}));

    history->clearHistory();
    history->waitForPendingWrites();
    EXPECT_EQ(readFile(f.file), "[]");
    EXPECT_EQ(f.shotFiles(), QStringList{QStringLiteral("orphan.png")});
}

// An entry deleted while its screenshot is still being written must not leave that screenshot behind.
TEST(HistoryManager, QuittingWaitsForTheScreenshotWrittenWholeAndPrivateAndADeletedOneLeavesNoFile)
{
    Fixture f;
    const QImage kept = testImage(3840, 2160, 2);
    QString name;
    {
        auto history = f.open();
        history->addEntry(QStringLiteral("deleted at once"), std::nullopt, QImage(), testImage(3840, 2160, 1));
        EXPECT_TRUE(history->deleteEntry(history->entries().at(0).id));
        history->addEntry(QStringLiteral("kept"), std::nullopt, QImage(), kept);
        name = history->entries().at(0).screenshotFilename.value_or(QString());
    }
    EXPECT_EQ(f.shotFiles(), QStringList{name});
    EXPECT_EQ(QImage(f.shot(name)).convertToFormat(QImage::Format_RGB32), kept);
    EXPECT_EQ(QFile::permissions(f.shot(name)), ownerOnly);
}

// The HTTP server reads the history from its own thread while captures add to it.
TEST(HistoryManager, ReadersOnAnotherThreadSeeWholeLists)
{
    Fixture f;
    f.settings.setHistoryMaxEntries(1000);
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

// A burst of additions is written once, soon after it ends; while the file is written the screenshots it names are
// on disk, and a deleted entry's screenshot goes only once the file no longer names it, so that a crash at any
// moment leaves a file whose every screenshot exists.
TEST(HistoryManager, BurstsAreWrittenTogetherAndTheFileNeverNamesAMissingScreenshot)
{
    Fixture f;
    f.settings.setHistoryMaxEntries(100000);
    auto history = f.open();
    for (int i = 0; i < 2000; ++i)
        history->addEntry(QString::number(i), std::nullopt, QImage(), QImage());
    EXPECT_FALSE(QFile::exists(f.file)) << "nothing is written entry by entry";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(f.file); }, 1000));
    EXPECT_EQ(f.stored().size(), 2000);

    // Checks the file against the folder while the event loop runs until done() holds.
    const auto watch = [&](const std::function<bool()>& done) {
        int violations = 0;
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            for (const HistoryEntry& entry : f.stored())
                violations += entry.screenshotFilename && !QFile::exists(f.shot(*entry.screenshotFilename));
        }
        EXPECT_TRUE(done());
        return violations;
    };
    history->addEntry(QStringLiteral("large"), std::nullopt, QImage(), testImage(3840, 2160, 5));
    const HistoryEntry large = history->entries().at(0);
    EXPECT_EQ(watch([&] { return f.stored().size() == 2001; }), 0);

    EXPECT_TRUE(history->deleteEntry(large.id));
    EXPECT_TRUE(QFile::exists(f.shot(*large.screenshotFilename))) << "removed before the file is rewritten";
    EXPECT_EQ(watch([&] { return !QFile::exists(f.shot(*large.screenshotFilename)); }), 0);
    EXPECT_EQ(f.stored().size(), 2000);
}
