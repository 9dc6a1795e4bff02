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

const QString shot = QStringLiteral("AAAAAAAA-0000-4000-8000-000000000001.png");
const QByteArray entry = R"([{"id":"AAAAAAAA-0000-4000-8000-000000000001","text":"kept","timestamp":)"
                         R"("2099-01-01T00:00:00Z","screenshotFilename":"AAAAAAAA-0000-4000-8000-000000000001.png"}])";

void write(const QString& path, const QByteArray& bytes, qint64 size = -1)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    ASSERT_TRUE(size < 0 || file.resize(size)); // sparse: the size costs no disk
}

int mode(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Both folders exist before a row prepares its files, as after any earlier start.
struct Home {
    QTemporaryDir dir;
    const QString data = dir.path() + QStringLiteral("/data/Quillora");
    const QString history = data + QStringLiteral("/history.json");
    const QString shots = data + QStringLiteral("/Screenshots");
    const QString config = dir.path() + QStringLiteral("/config/Quillora");
    const QString settings = config + QStringLiteral("/settings.json");
    const QString elsewhere = dir.path() + QStringLiteral("/elsewhere");
    const bool made = QDir().mkpath(data) && QDir().mkpath(config);

    qsizetype aside(const QString& file) const
    {
        const QFileInfo info(file);
        return QDir(info.path()).entryList({info.fileName() + ".bad-*"}, QDir::AllEntries | QDir::System).size();
    }
};

enum class Aside { Nothing, History, Settings };

struct Row {
    std::string name;
    std::function<void(Home&)> prepare;
    Aside aside = Aside::Nothing;
    std::function<void(Home&, HistoryManager&, JsonFileDefaultsStore&)> check = {};
};

} // namespace

TEST(HostileFiles, AreRefusedOrMovedAsideWithoutCrashHangOrReachingOutside)
{
    std::vector<Row> rows = {
        {"settings with deep or large values under unknown keys",
         [](Home& h) {
             write(h.settings, "{\"apiPort\": 8080, \"deep\": " + QByteArray(60, '[') + QByteArray(60, ']') +
                                   ", \"big\": \"" + QByteArray(JsonFileDefaultsStore::MaxValueBytes + 1, 'x') +
                                   "\", \"small\": \"kept\", \"object\": {\"a\": 1}}");
         },
         Aside::Nothing,
         [](Home& h, HistoryManager&, JsonFileDefaultsStore& store) {
             EXPECT_EQ(*store.value("apiPort"), nlohmann::json(8080));
             EXPECT_EQ(*store.value("small"), nlohmann::json("kept"));
             EXPECT_FALSE(store.contains("deep") || store.contains("big") || store.contains("object"));
             store.setValue("apiPort", 1);
             EXPECT_LT(QFileInfo(h.settings).size(), 200) << "the dropped values are not written back";
         }},
        {"screenshots folder is a link to another folder",
         [](Home& h) {
             write(h.history, entry);
             write(h.elsewhere + u'/' + shot, "precious");
             ASSERT_TRUE(QFile::link(h.elsewhere, h.shots));
         },
         Aside::Nothing,
         [](Home& h, HistoryManager& history, JsonFileDefaultsStore&) {
             ASSERT_EQ(history.entries().size(), 1);
             EXPECT_TRUE(history.deleteEntry(history.entries().first().id));
             history.waitForPendingWrites();
             EXPECT_TRUE(history.entries().isEmpty());
             EXPECT_TRUE(QFile::exists(h.elsewhere + u'/' + shot));
         }},
        {"folders removed while it runs come back private", [](Home&) {}, Aside::Nothing,
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
         [](Home& h) {
             write(h.history, entry);
             write(AtomicFile::temporaryPath(h.history), "[{\"half");
             write(AtomicFile::temporaryPath(h.settings), "{\"half");
             write(h.shots + "/." + shot + ".part", "half a PNG");
         },
         Aside::Nothing,
         [](Home& h, HistoryManager& history, JsonFileDefaultsStore&) {
             EXPECT_EQ(history.entries().size(), 1);
             EXPECT_FALSE(QFile::exists(AtomicFile::temporaryPath(h.history)));
             EXPECT_FALSE(QFile::exists(AtomicFile::temporaryPath(h.settings)));
             EXPECT_TRUE(QDir(h.shots).entryList(QDir::Files | QDir::Hidden).isEmpty());
         }},
    };
    // What either file may be instead of the program's JSON, given its size limit.
    const std::pair<const char*, std::function<void(const QString&, qint64)>> refused[] = {
        {"JSON cut short", [](const QString& file, qint64) { write(file, "{\"apiPort\": 80"); }},
        {"an array of numbers", [](const QString& file, qint64) { write(file, "[1,2,3]"); }},
        {"nested 100,000 levels deep",
         [](const QString& file, qint64) { write(file, QByteArray(100000, '[') + QByteArray(100000, ']')); }},
        {"a link to /dev/zero", [](const QString& file, qint64) { ASSERT_TRUE(QFile::link("/dev/zero", file)); }},
        {"a FIFO without writer",
         [](const QString& file, qint64) { ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); }},
        {"a folder", [](const QString& file, qint64) { ASSERT_TRUE(QDir().mkpath(file)); }},
        {"larger than its limit", [](const QString& file, qint64 limit) { write(file, "[", limit + 1); }},
    };
    for (const auto& [what, make] : refused) {
        rows.push_back({std::string("history is ") + what,
                        [make](Home& h) { make(h.history, HistoryManager::MaxFileBytes); }, Aside::History});
        rows.push_back({std::string("settings is ") + what,
                        [make](Home& h) { make(h.settings, JsonFileDefaultsStore::MaxFileBytes); }, Aside::Settings});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Home home;
        ASSERT_TRUE(home.made);
        row.prepare(home);
        const auto started = std::chrono::steady_clock::now();
        JsonFileDefaultsStore store(home.settings);
        InMemoryDefaultsStore memory;
        memory.preset("historyMaxEntries", 1000);
        FakeLoginItem loginItem;
        AppSettings settings(memory, loginItem);
        HistoryManager history(settings, home.data);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << "start takes too long";
        // A file refused is moved aside, once, and its store starts empty; no other file is.
        EXPECT_EQ(home.aside(home.history), row.aside == Aside::History ? 1 : 0);
        EXPECT_EQ(home.aside(home.settings), row.aside == Aside::Settings ? 1 : 0);
        EXPECT_TRUE(row.aside != Aside::History || history.entries().isEmpty());
        EXPECT_TRUE(row.aside != Aside::Settings || !store.contains("apiPort"));
        if (row.check)
            row.check(home, history, store);
    }
}
