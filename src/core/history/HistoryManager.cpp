#include "core/history/HistoryManager.h"

#include "core/history/ScreenshotWriter.h"
#include "core/settings/AppSettings.h"
#include "core/support/AtomicFile.h"
#include "core/support/Log.h"
#include "core/support/PrivateFolder.h"
#include "core/support/RegularFile.h"
#include "core/support/ThreadCheck.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace {

// Far beyond any real setting; keeps the date arithmetic of the age cutoff in range.
constexpr qint64 maxAutoDeleteDays = 1'000'000;

// Names come from the history file, which may have been edited: a name with a directory part must never let a
// deletion reach outside the screenshots folder.
bool isBareFileName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// The names addEntry() gives screenshots: an id in upper case and ".png".
bool isScreenshotName(const QString& name)
{
    const QString suffix = QStringLiteral(".png");
    if (!name.endsWith(suffix))
        return false;
    const QString id = name.chopped(suffix.size());
    const QUuid uuid = QUuid::fromString(id);
    return !uuid.isNull() && HistoryEntry::formatId(uuid) == id;
}

QByteArray encodePng(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        png.clear();
    return png;
}

} // namespace

HistoryManager::HistoryManager(AppSettings& settings, const QString& folder, QObject* parent)
    : HistoryManager(settings, folder, Clock(), parent)
{}

HistoryManager::HistoryManager(AppSettings& settings, const QString& folder, Clock clock, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_folder(QDir::cleanPath(folder))
    , m_historyFilePath(m_folder + QStringLiteral("/history.json"))
    , m_screenshotsFolder(m_folder + QStringLiteral("/Screenshots"))
    , m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); }))
{
    // The writer thread ends in our destructor, before this object goes, so `this` is still valid here; Qt drops
    // a call still queued for a destroyed object.
    m_writer = std::make_unique<ScreenshotWriter>(m_screenshotsFolder, [this] {
        QMetaObject::invokeMethod(this, &HistoryManager::applyWriteResults, Qt::QueuedConnection);
    });
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(SaveDelayMs);
    connect(m_saveTimer, &QTimer::timeout, this, &HistoryManager::saveWhenScreenshotsAreWritten);
    // Failures surface later, when a write into the folder fails with its own message.
    PrivateFolder::make(m_folder);
    PrivateFolder::make(m_screenshotsFolder);
    AtomicFile::removeLeftover(m_historyFilePath);
    m_writer->removeLeftovers();
    if (loadHistory())
        removeUnnamedScreenshots();
    pruneByAge();
}

HistoryManager::~HistoryManager()
{
    waitForPendingWrites();
}

QList<HistoryEntry> HistoryManager::entries() const
{
    return entriesSnapshot();
}

QString HistoryManager::screenshotPath(const HistoryEntry& entry) const
{
    if (!entry.screenshotFilename || !isBareFileName(*entry.screenshotFilename))
        return {};
    return m_screenshotsFolder + QLatin1Char('/') + *entry.screenshotFilename;
}

void HistoryManager::addEntry(const QString& text, const std::optional<QString>& displayName,
                              const QImage& thumbnailImage, const QImage& screenshot)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    if (!m_settings.historyEnabled())
        return;

    HistoryEntry entry;
    entry.id = QUuid::createUuid();
    entry.text = text;
    // The file keeps whole seconds; memory keeps the same so that both agree.
    const QDateTime now = m_clock().toUTC();
    entry.timestamp = now.addMSecs(-now.time().msec());
    entry.displayName = displayName;
    if (!thumbnailImage.isNull()) {
        const QByteArray png = encodePng(thumbnailImage);
        if (!png.isEmpty())
            entry.thumbnailData = png;
    }
    if (!screenshot.isNull()) {
        const QString filename = HistoryEntry::formatId(QUuid::createUuid()) + QStringLiteral(".png");
        m_writer->enqueue(filename, screenshot);
        entry.screenshotFilename = filename;
    }

    // In place rather than through a copy: a burst of thousands of additions to a long list would otherwise copy
    // the whole list for each one.
    {
        std::lock_guard lock(m_mutex);
        m_entries.prepend(entry);
    }
    // A copy that shares the list (and goes at once), so that a slot that changes the history does not change the
    // list it was handed.
    emit entriesChanged(QList<HistoryEntry>(m_entries));

    const qint64 max = m_settings.historyMaxEntries();
    if (max < 0) {
        qCWarning(lcHistory).noquote()
            << QStringLiteral("⚠️ Ignoring negative historyMaxEntries (%1): the history is not pruned by count")
                   .arg(max);
    } else if (m_entries.size() > max) {
        for (qsizetype i = max; i < m_entries.size(); ++i)
            if (m_entries.at(i).screenshotFilename)
                deleteScreenshotFile(*m_entries.at(i).screenshotFilename);
        {
            std::lock_guard lock(m_mutex);
            m_entries.resize(max);
        }
        emit entriesChanged(QList<HistoryEntry>(m_entries));
    }
    saveHistory();
}

void HistoryManager::updateEntry(const HistoryEntry& entry, const QString& newText)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    QList<HistoryEntry> list = m_entries;
    const auto it = std::find_if(list.begin(), list.end(), [&](const HistoryEntry& e) { return e.id == entry.id; });
    if (it == list.end())
        return;
    HistoryEntry replacement = entry;
    replacement.text = newText;
    *it = replacement;
    setEntries(list);
    saveHistory();
}

void HistoryManager::clearHistory()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    const QList<HistoryEntry> list = m_entries;
    for (const HistoryEntry& entry : list)
        deleteScreenshot(entry);
    if (!list.isEmpty())
        setEntries({});
    saveHistory();
}

void HistoryManager::saveHistory()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    // Not restarted by later changes: a change waits SaveDelay at most, however many follow it.
    if (!m_saveTimer->isActive())
        m_saveTimer->start();
}

void HistoryManager::flush()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    if (!m_saveTimer->isActive())
        return;
    m_writer->waitForIdle();
    applyWriteResults();
    writeFile();
}

void HistoryManager::saveWhenScreenshotsAreWritten()
{
    // A file naming a screenshot still being encoded would, after a crash, point at nothing; wait for it.
    if (!m_writer->isIdle()) {
        m_saveTimer->start();
        return;
    }
    applyWriteResults();
    writeFile();
}

void HistoryManager::writeFile()
{
    m_saveTimer->stop();
    const QString folder = QFileInfo(m_historyFilePath).absolutePath();
    if (!QFileInfo::exists(folder)) {
        const QString error = PrivateFolder::make(folder);
        if (!error.isEmpty()) {
            qCCritical(lcHistory).noquote() << QStringLiteral("❌ Failed to create history directory: %1").arg(error);
            return;
        }
        qCDebug(lcHistory).noquote() << QStringLiteral("📁 Created history directory: %1").arg(folder);
    }

    QByteArray bytes;
    QString error;
    try {
        bytes = HistoryEntry::encodeList(m_entries);
    } catch (const nlohmann::json::exception& encodeError) {
        error = QString::fromUtf8(encodeError.what());
    }
    if (error.isEmpty())
        AtomicFile::write(m_historyFilePath, bytes, &error);
    if (!error.isEmpty())
        qCCritical(lcHistory).noquote() << QStringLiteral("❌ Failed to save history: %1").arg(error);
    else
        qCDebug(lcHistory).noquote() << QStringLiteral("📚 Saved %1 history entries to %2")
                                            .arg(QString::number(m_entries.size()), m_historyFilePath);
    // Deleted means deleted, also when the file could not be written.
    for (const QString& filename : std::exchange(m_removals, {})) {
        QString removeError;
        if (PrivateFolder::removeFile(m_screenshotsFolder, filename, &removeError))
            qCDebug(lcHistory).noquote() << QStringLiteral("🗑️ Deleted screenshot: %1").arg(filename);
        else if (!removeError.isEmpty())
            qCWarning(lcHistory).noquote()
                << QStringLiteral("⚠️ Screenshot %1 not deleted: %2").arg(filename, removeError);
    }
}

bool HistoryManager::deleteEntry(const QUuid& id)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    const std::optional<HistoryEntry> found = entry(id);
    if (!found)
        return false;
    deleteScreenshot(*found);
    removeEntries(id);
    saveHistory();
    return true;
}

void HistoryManager::deleteScreenshot(const HistoryEntry& entry)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    if (entry.screenshotFilename)
        deleteScreenshotFile(*entry.screenshotFilename);
}

void HistoryManager::removeEntries(const QUuid& id)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    QList<HistoryEntry> list = m_entries;
    if (list.removeIf([&](const HistoryEntry& e) { return e.id == id; }) > 0)
        setEntries(list);
}

void HistoryManager::waitForPendingWrites()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    m_writer->waitForIdle();
    applyWriteResults();
    if (m_saveTimer->isActive())
        writeFile();
}

QList<HistoryEntry> HistoryManager::entriesSnapshot() const
{
    std::lock_guard lock(m_mutex);
    return m_entries;
}

std::optional<HistoryEntry> HistoryManager::entry(const QUuid& id) const
{
    std::lock_guard lock(m_mutex);
    for (const HistoryEntry& e : m_entries)
        if (e.id == id)
            return e;
    return std::nullopt;
}

qsizetype HistoryManager::count() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

void HistoryManager::setEntries(QList<HistoryEntry> entries)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    {
        std::lock_guard lock(m_mutex);
        m_entries = entries;
    }
    emit entriesChanged(entries);
}

bool HistoryManager::loadHistory()
{
    const RegularFile::Result file = RegularFile::read(m_historyFilePath, MaxFileBytes);
    if (file.status == RegularFile::Status::Missing) {
        qCDebug(lcHistory).noquote() << QStringLiteral("📚 History file does not exist yet: %1").arg(m_historyFilePath);
        return true;
    }

    QString error = file.error;
    if (file.status == RegularFile::Status::Read) {
        try {
            QList<HistoryEntry> loaded = HistoryEntry::decodeList(file.bytes);
            const qsizetype count = loaded.size();
            setEntries(std::move(loaded));
            qCDebug(lcHistory).noquote() << QStringLiteral("📚 Loaded %1 history entries").arg(count);
            return true;
        } catch (const std::runtime_error& decodeError) {
            error = QString::fromUtf8(decodeError.what());
        }
    }

    qCCritical(lcHistory).noquote() << QStringLiteral("❌ Failed to load history: %1").arg(error);
    // The next save would replace the file; keep what the user had so that it can be recovered by hand.
    const QString aside = AtomicFile::moveAside(m_historyFilePath);
    if (aside.isEmpty())
        qCCritical(lcHistory).noquote()
            << QStringLiteral("❌ Failed to move the unreadable history file aside: %1").arg(m_historyFilePath);
    else
        qCWarning(lcHistory).noquote()
            << QStringLiteral("⚠️ Moved the unreadable history file aside to: %1").arg(aside);
    return false;
}

void HistoryManager::removeUnnamedScreenshots()
{
    // A crash after a screenshot was renamed into place but before the history file named it, or after the file
    // dropped a deleted entry but before its screenshot was removed, leaves a picture of the screen that no entry
    // shows and nothing in the program could ever delete. Only names of the form given here are touched; after an
    // unreadable file nothing is, as the file moved aside may still name them.
    QSet<QString> named;
    for (const HistoryEntry& entry : std::as_const(m_entries))
        if (entry.screenshotFilename)
            named.insert(*entry.screenshotFilename);
    const QStringList files =
        QDir(m_screenshotsFolder).entryList({QStringLiteral("*.png")}, QDir::Files | QDir::System);
    for (const QString& name : files) {
        if (named.contains(name) || !isScreenshotName(name))
            continue;
        QString error;
        if (PrivateFolder::removeFile(m_screenshotsFolder, name, &error))
            qCWarning(lcHistory).noquote()
                << QStringLiteral("🗑️ Removed a screenshot no entry names: %1").arg(name);
        else if (!error.isEmpty())
            qCWarning(lcHistory).noquote() << QStringLiteral("⚠️ Screenshot %1 not deleted: %2").arg(name, error);
    }
}

void HistoryManager::pruneByAge()
{
    const qint64 days = m_settings.historyAutoDeleteDays();
    if (days <= 0)
        return;
    // Calendar days in local time: across a change to or from summer time the cutoff keeps the wall-clock time.
    const QDateTime cutoff = m_clock().addDays(-std::min(days, maxAutoDeleteDays));
    if (!cutoff.isValid())
        return;

    QList<HistoryEntry> kept;
    for (const HistoryEntry& entry : std::as_const(m_entries)) {
        if (entry.timestamp < cutoff)
            deleteScreenshot(entry);
        else
            kept.append(entry);
    }
    const bool pruned = kept.size() != m_entries.size();
    if (pruned)
        setEntries(kept);
    // Also when nothing is left: a file still listing the pruned entries would bring them back, their screenshots
    // gone, at a start with a longer limit.
    if (pruned || !kept.isEmpty())
        saveHistory();
}

void HistoryManager::deleteScreenshotFile(const QString& filename)
{
    if (!isBareFileName(filename))
        return;
    // A write still pending is dropped, so its file never appears.
    if (m_writer->cancel(filename)) {
        qCDebug(lcHistory).noquote() << QStringLiteral("🗑️ Deleted screenshot: %1").arg(filename);
        return;
    }
    if (!m_removals.contains(filename))
        m_removals.append(filename);
    saveHistory();
}

void HistoryManager::applyWriteResults()
{
    const QStringList failures = m_writer->takeFailures();
    if (failures.isEmpty())
        return;
    // As when the write fails at once: the entry stays, without a screenshot.
    QList<HistoryEntry> list = m_entries;
    bool changed = false;
    for (HistoryEntry& entry : list) {
        if (entry.screenshotFilename && failures.contains(*entry.screenshotFilename)) {
            entry.screenshotFilename.reset();
            changed = true;
        }
    }
    if (!changed)
        return;
    setEntries(list);
    saveHistory();
}
