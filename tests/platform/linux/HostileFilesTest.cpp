// The program's own files as a damaged disk, a careless script or another local program may leave them: each one
// must be refused or moved aside without crashing, hanging or reaching outside the program's folders.
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "core/support/AtomicFile.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "platform/linux/JsonFileDefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* entryId = "AAAAAAAA-0000-4000-8000-000000000001";

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void makeFifo(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
}

void link(const QString& target, const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(QFile::link(target, path));
}

void sparse(const QString& path, qint64 size)
{
    write(path, "[");
    ASSERT_TRUE(QFile::resize(path, size));
}

QByteArray deepArray(int levels)
{
    return QByteArray(levels, '[') + QByteArray(levels, ']');
}

int mode(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

struct Home {
    QTemporaryDir dir;
    const QString data = dir.path() + QStringLiteral("/data/Quillora");
    const QString history = data + QStringLiteral("/history.json");
    const QString shots = data + QStringLiteral("/Screenshots");
    const QString config = dir.path() + QStringLiteral("/config/Quillora");
    const QString settings = config + QStringLiteral("/settings.json");
    const QString elsewhere = dir.path() + QStringLiteral("/elsewhere");

    QStringList aside(const QString& file) const
    {
        const QFileInfo info(file);
        return QDir(info.path())
            .entryList({info.fileName() + QStringLiteral(".bad-*")}, QDir::AllEntries | QDir::System);
    }
};

struct Row {
    const char* name;
    std::function<void(Home&)> prepare;
    std::function<void(Home&, HistoryManager&, JsonFileDefaultsStore&)> check;
};

void expectHistoryMovedAside(Home& home, HistoryManager& history, JsonFileDefaultsStore&)
{
    EXPECT_TRUE(history.entries().isEmpty());
    EXPECT_EQ(home.aside(home.history).size(), 1);
}

void expectSettingsMovedAside(Home& home, HistoryManager&, JsonFileDefaultsStore& store)
{
    EXPECT_FALSE(store.contains("apiPort"));
    EXPECT_EQ(home.aside(home.settings).size(), 1);
}

} // namespace

TEST(HostileFiles, AreRefusedOrMovedAsideWithoutCrashHangOrReachingOutside)
{
    const QByteArray entry = QByteArray(R"([{"id":")") + entryId +
                             R"(","text":"kept","timestamp":"2099-01-01T00:00:00Z","screenshotFilename":")" + entryId +
                             R"(.png"}])";
    const std::vector<Row> rows = {
        {"history nested 100,000 levels deep", [](Home& h) { write(h.history, deepArray(100000)); },
         expectHistoryMovedAside},
        {"history is a link to /dev/zero", [](Home& h) { link(QStringLiteral("/dev/zero"), h.history); },
         expectHistoryMovedAside},
        {"history is a FIFO without writer", [](Home& h) { makeFifo(h.history); }, expectHistoryMovedAside},
        {"history is a folder", [](Home& h) { QDir().mkpath(h.history); }, expectHistoryMovedAside},
        {"history larger than its limit", [](Home& h) { sparse(h.history, HistoryManager::MaxFileBytes + 1); },
         expectHistoryMovedAside},
        {"settings nested 100,000 levels deep", [](Home& h) { write(h.settings, deepArray(100000)); },
         expectSettingsMovedAside},
        {"settings is a link to /dev/zero", [](Home& h) { link(QStringLiteral("/dev/zero"), h.settings); },
         expectSettingsMovedAside},
        {"settings is a FIFO without writer", [](Home& h) { makeFifo(h.settings); }, expectSettingsMovedAside},
        {"settings larger than its limit", [](Home& h) { sparse(h.settings, JsonFileDefaultsStore::MaxFileBytes + 1); },
         expectSettingsMovedAside},
        {"settings with deep or large values under unknown keys",
         [](Home& h) {
             write(h.settings, "{\"apiPort\": 8080, \"deep\": " + deepArray(60) + ", \"big\": \"" +
                                   QByteArray(JsonFileDefaultsStore::MaxValueBytes + 1, 'x') +
                                   "\", \"small\": \"kept\", \"object\": {\"a\": 1}}");
         },
         [](Home& h, HistoryManager&, JsonFileDefaultsStore& store) {
             EXPECT_EQ(*store.value("apiPort"), nlohmann::json(8080));
             EXPECT_EQ(*store.value("small"), nlohmann::json("kept"));
             EXPECT_FALSE(store.contains("deep") || store.contains("big") || store.contains("object"));
             store.setValue("apiPort", 1);
             EXPECT_LT(QFileInfo(h.settings).size(), 200) << "the dropped values are not written back";
             EXPECT_TRUE(h.aside(h.settings).isEmpty());
         }},
        {"screenshots folder is a link to another folder",
         [&entry](Home& h) {
             write(h.history, entry);
             write(h.elsewhere + QLatin1Char('/') + QLatin1String(entryId) + QStringLiteral(".png"), "precious");
             link(h.elsewhere, h.shots);
         },
         [](Home& h, HistoryManager& history, JsonFileDefaultsStore&) {
             ASSERT_EQ(history.entries().size(), 1);
             EXPECT_TRUE(history.deleteEntry(history.entries().first().id));
             history.waitForPendingWrites();
             EXPECT_TRUE(history.entries().isEmpty());
             EXPECT_TRUE(QFile::exists(h.elsewhere + QLatin1Char('/') + QLatin1String(entryId) + ".png"));
         }},
        {"folders removed while it runs come back private", [](Home&) {},
         [](Home& h, HistoryManager& history, JsonFileDefaultsStore& store) {
             const mode_t umaskBefore = ::umask(022);
             QDir(h.dir.path() + QStringLiteral("/config")).removeRecursively();
             QDir(h.shots).removeRecursively();
             store.setValue("apiPort", 1);
             history.addEntry(QStringLiteral("text"), std::nullopt, QImage(), QImage(4, 4, QImage::Format_RGB32));
             history.waitForPendingWrites();
             ::umask(umaskBefore);
             EXPECT_EQ(mode(h.config), 0700);
             EXPECT_EQ(mode(h.dir.path() + QStringLiteral("/config")), 0700);
             EXPECT_EQ(mode(h.shots), 0700);
             EXPECT_EQ(QDir(h.shots).entryList(QDir::Files).size(), 1);
         }},
        {"temporary files left by a crash are removed at start",
         [&entry](Home& h) {
             write(h.history, entry);
             write(AtomicFile::temporaryPath(h.history), "[{\"half");
             write(AtomicFile::temporaryPath(h.settings), "{\"half");
             write(h.shots + QStringLiteral("/.") + entryId + QStringLiteral(".png.part"), "half a PNG");
         },
         [](Home& h, HistoryManager& history, JsonFileDefaultsStore&) {
             EXPECT_EQ(history.entries().size(), 1);
             EXPECT_FALSE(QFile::exists(AtomicFile::temporaryPath(h.history)));
             EXPECT_FALSE(QFile::exists(AtomicFile::temporaryPath(h.settings)));
             EXPECT_TRUE(QDir(h.shots).entryList(QDir::Files | QDir::Hidden).isEmpty());
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Home home;
        row.prepare(home);
        const auto started = std::chrono::steady_clock::now();
        JsonFileDefaultsStore store(home.settings);
        InMemoryDefaultsStore memory;
        memory.preset("historyMaxEntries", 1000);
        FakeLoginItem loginItem;
        AppSettings settings(memory, loginItem);
        HistoryManager history(settings, home.data);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << "start takes too long";
        row.check(home, history, store);
    }
}
