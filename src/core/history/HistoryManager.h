#pragma once

#include "core/history/HistoryEntry.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class AppSettings;
class ScreenshotWriter;
class QTimer;

// The history of captures: a list in memory (newest first) mirrored into "history.json", and one PNG per
// capture in "Screenshots/". Changes are collected for at most SaveDelay and written together, so a burst of
// additions costs one write, not one per entry; the file never names a screenshot that is not yet on disk, and
// a screenshot file is removed only once the file no longer names it. Both live in the folder given to the constructor
// (the application passes XdgPaths::appDataFolder()).
//
// Mutations run on the main thread. Screenshots are encoded and written by a worker thread so that a capture
// does not freeze the interface: the entry names its file at once, and the file appears complete or not at
// all. Deleting a screenshot whose write is still pending cancels the write. Each mutation asserts that it runs
// on the thread that made the manager (QUILLORA_ASSERT_OWNER_THREAD).
//
// entriesSnapshot(), entry() and count() may be called from any thread (the HTTP server reads from its own).
class HistoryManager : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // Creates the folders, loads the history and prunes it by age.
    HistoryManager(AppSettings& settings, const QString& folder, QObject* parent = nullptr);
    // As above with the clock used for timestamps and age pruning (tests pass a fixed one).
    HistoryManager(AppSettings& settings, const QString& folder, Clock clock, QObject* parent = nullptr);
    // Waits for pending screenshot writes, so that quitting never loses a screenshot.
    ~HistoryManager() override;

    // Main thread.
    QList<HistoryEntry> entries() const;
    QString folder() const { return m_folder; }
    QString historyFilePath() const { return m_historyFilePath; }
    QString screenshotsFolder() const { return m_screenshotsFolder; }
    // The full path of the entry's screenshot, or an empty text when it has none or its name is not a bare
    // file name. The file may not exist (yet).
    QString screenshotPath(const HistoryEntry& entry) const;

    // Does nothing while history is switched off. A null image means none. The screenshot must own its pixels
    // (it is read on the writer thread after this returns).
    void addEntry(const QString& text, const std::optional<QString>& displayName, const QImage& thumbnailImage,
                  const QImage& screenshot);
    // Replaces the text of the stored entry with entry.id; the other fields come from the given entry.
    void updateEntry(const HistoryEntry& entry, const QString& newText);
    void clearHistory();
    // Writes the list to the file within SaveDelay (sooner with flush()).
    void saveHistory();
    // Writes a save that is still waiting at once (after the screenshots it names are on disk).
    void flush();

    // The deletion sequence for one entry: deleteScreenshot, removeEntries, saveHistory. Returns false (and
    // does nothing) when no entry has that id.
    bool deleteEntry(const QUuid& id);
    // The three steps on their own.
    void deleteScreenshot(const HistoryEntry& entry);
    void removeEntries(const QUuid& id);

    // Blocks until every queued screenshot is on disk (or failed), applies the results on this thread and
    // writes the history file if a save waits.
    void waitForPendingWrites();

    static constexpr int SaveDelayMs = 50;
    // history.json is read only up to this size: far more than its entry limit makes, far less than memory.
    static constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;

    // Any thread.
    QList<HistoryEntry> entriesSnapshot() const;
    std::optional<HistoryEntry> entry(const QUuid& id) const;
    qsizetype count() const;

signals:
    // On the main thread, synchronously, at every change of the list; carries the new list.
    void entriesChanged(const QList<HistoryEntry>& entries);

private:
    void setEntries(QList<HistoryEntry> entries);
    // False when the file was there but unreadable (and moved aside).
    bool loadHistory();
    void pruneByAge();
    void removeUnnamedScreenshots();
    void deleteScreenshotFile(const QString& filename);
    void applyWriteResults();
    void saveWhenScreenshotsAreWritten();
    void writeFile();

    AppSettings& m_settings;
    const QString m_folder;
    const QString m_historyFilePath;
    const QString m_screenshotsFolder;
    const Clock m_clock;
    std::unique_ptr<ScreenshotWriter> m_writer;
    QTimer* m_saveTimer = nullptr; // child; running while a save waits
    QStringList m_removals;        // screenshot files to remove once the file no longer names them

    mutable std::mutex m_mutex; // guards m_entries for readers on other threads
    QList<HistoryEntry> m_entries;
};
