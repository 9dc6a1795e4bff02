// The history file as a damaged disk or a careless edit leaves it: the store loads whatever the bytes are, and
// what it keeps must survive a save and a second start unchanged, never name a file outside its screenshots
// folder, and never be older than the age limit. Deleting every entry must leave files elsewhere alone.
#include "FuzzSupport.h"
#include "core/history/HistoryEntry.h"
#include "core/history/HistoryManager.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

const QDateTime now(QDate(2026, 3, 14), QTime(9, 26, 53), Qt::UTC);

QString describe(const QList<HistoryEntry>& entries)
{
    return QString::fromUtf8(HistoryEntry::encodeList(entries));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    FuzzSupport::Home home;
    // Bait for a deletion that leaves the screenshots folder.
    const QStringList bait{home.root.path() + QStringLiteral("/bait.png"), home.folder + QStringLiteral("/bait.png")};
    for (const QString& path : bait)
        FuzzSupport::writeFile(path, "keep");
    if (!FuzzSupport::writeFile(home.folder + QStringLiteral("/history.json"), bytes))
        return 0;

    AppSettings& settings = home.settings;
    const auto clock = [] { return now; };
    QList<HistoryEntry> loaded;
    {
        HistoryManager history(settings, home.folder, clock);
        loaded = history.entries();
        const QDateTime cutoff = now.addDays(-settings.historyAutoDeleteDays());
        for (const HistoryEntry& entry : loaded) {
            FUZZ_CHECK(entry.timestamp.isValid() && entry.timestamp >= cutoff, describe(loaded));
            const QString path = history.screenshotPath(entry);
            FUZZ_CHECK(path.isEmpty() || QFileInfo(path).absolutePath() == history.screenshotsFolder(),
                       describe(loaded));
        }
        // What was kept is what the file says now, whether the start rewrote it or not.
        history.saveHistory();
    }
    {
        HistoryManager history(settings, home.folder, clock);
        FUZZ_CHECK(history.entries() == loaded,
                   describe(loaded) + QStringLiteral("\n-- read back --\n") + describe(history.entries()));
        for (const HistoryEntry& entry : loaded)
            history.deleteEntry(entry.id);
        FUZZ_CHECK(history.count() == 0, describe(history.entries()));
    }
    for (const QString& path : bait)
        FUZZ_CHECK(QFile::exists(path), path);
    return 0;
}
