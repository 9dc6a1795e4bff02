#include "settings/AppSettings.h"

#include "LogCapture.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct Fixture {
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
};

} // namespace

// The hotkey's and the API's defaults are seen at every start of the shell tests and the first-start e2e test.
TEST(AppSettings, FreshAccountGivesDefaultsAndWritesNothing)
{
    Fixture f;
    AppSettings settings(f.store, f.loginItem);
    EXPECT_FALSE(settings.removeLineBreaks());
    EXPECT_TRUE(settings.cleanupWhitespace());
    EXPECT_TRUE(settings.fixHyphenation());
    EXPECT_TRUE(settings.historyEnabled());
    EXPECT_EQ(settings.historyMaxEntries(), 50);
    EXPECT_EQ(settings.historyAutoDeleteDays(), 30);
    EXPECT_FALSE(settings.captureWindowShadows());
    EXPECT_TRUE(settings.showCaptureHint());
    EXPECT_TRUE(f.store.writes().empty());
}

// Each row: what is stored under a key, and what the setting reads as at start. How text and numbers are
// coerced is the store's (JsonFileDefaultsStoreTest); these rows show which keys coerce and which fall back.
TEST(AppSettings, ReadRulesPerKind)
{
    struct Row {
        const char* name;
        const char* key;
        nlohmann::json stored;
        std::function<nlohmann::json(const AppSettings&)> read;
        nlohmann::json expected;
    };
    const auto port = [](const AppSettings& s) { return nlohmann::json(s.apiPort()); };
    const auto maxEntries = [](const AppSettings& s) { return nlohmann::json(s.historyMaxEntries()); };
    const auto apiEnabled = [](const AppSettings& s) { return nlohmann::json(s.apiEnabled()); };
    const auto keyCode = [](const AppSettings& s) { return nlohmann::json(s.hotkeyKeyCode()); };
    const auto modifiers = [](const AppSettings& s) { return nlohmann::json(s.hotkeyModifiers()); };
    const auto history = [](const AppSettings& s) { return nlohmann::json(s.historyEnabled()); };
    const auto token = [](const AppSettings& s) { return nlohmann::json(s.apiToken().toStdString()); };
    const std::vector<Row> rows = {
        {"port as text with junk", "apiPort", "80abc", port, 80},
        {"max entries as text falls back", "historyMaxEntries", "20", maxEntries, 50},
        {"max entries as float falls back", "historyMaxEntries", 20.5, maxEntries, 50},
        {"api enabled YES", "apiEnabled", "YES", apiEnabled, true},
        {"api enabled text no", "apiEnabled", "no", apiEnabled, false},
        {"key code 0 becomes 26", "hotkeyKeyCode", 0, keyCode, 26},
        {"modifiers 0 become 768", "hotkeyModifiers", 0, modifiers, 768},
        {"negative key code falls back", "hotkeyKeyCode", -5, keyCode, 26},
        {"key code beyond 32 bits falls back", "hotkeyKeyCode", 4294967296LL, keyCode, 26},
        {"key code as text is coerced", "hotkeyKeyCode", "12", keyCode, 12},
        {"boolean stored as number falls back", "historyEnabled", 0, history, true},
        {"token not a string", "apiToken", 42, token, ""},
    };
    for (const Row& row : rows) {
        Fixture f;
        f.store.preset(row.key, row.stored);
        AppSettings settings(f.store, f.loginItem);
        EXPECT_EQ(row.read(settings), row.expected) << row.name;
    }
}

TEST(AppSettings, EveryAssignmentWritesAndNotifiesEvenWhenUnchanged)
{
    Fixture f;
    AppSettings settings(f.store, f.loginItem);
    QSignalSpy changed(&settings, &AppSettings::changed);

    settings.setHistoryEnabled(false);
    settings.setHistoryEnabled(false);
    ASSERT_EQ(f.store.writes().size(), 2u);
    EXPECT_EQ(f.store.writes()[0].first, "historyEnabled");
    EXPECT_EQ(f.store.writes()[0].second, nlohmann::json(false));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_FALSE(settings.historyEnabled());

    settings.setApiToken(QString());
    ASSERT_TRUE(f.store.contains("apiToken"));
    EXPECT_EQ(*f.store.value("apiToken"), nlohmann::json(""));

    // A new store instance reads back what was written, with the same kinds.
    settings.setHistoryMaxEntries(12);
    settings.setHotkeyKeyCode(0);
    AppSettings reloaded(f.store, f.loginItem);
    EXPECT_EQ(reloaded.historyMaxEntries(), 12);
    EXPECT_FALSE(reloaded.historyEnabled());
    EXPECT_EQ(reloaded.hotkeyKeyCode(), 26u) << "a stored key code 0 never survives a restart";
}

TEST(AppSettings, LaunchAtLoginReportsFailureAndKeepsState)
{
    Fixture f;
    AppSettings settings(f.store, f.loginItem);
    QSignalSpy changed(&settings, &AppSettings::changed);
    LogCapture log;

    settings.setLaunchAtLogin(true);
    EXPECT_TRUE(settings.launchAtLogin());
    EXPECT_EQ(changed.count(), 1);

    f.loginItem.failNext = QStringLiteral("permission denied");
    settings.setLaunchAtLogin(false);
    EXPECT_TRUE(settings.launchAtLogin());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(log.containsOut(QStringLiteral("❌ Failed to disable launch at login: permission denied")));
    EXPECT_TRUE(f.store.writes().empty()) << "open at login is not a defaults key";
}

TEST(AppSettings, ReadsFromAnotherThreadWhileAssigning)
{
    Fixture f;
    AppSettings settings(f.store, f.loginItem);
    std::atomic<bool> stop = false;
    std::atomic<int> bad = 0;
    std::thread reader([&] {
        while (!stop) {
            const qint64 value = settings.historyMaxEntries();
            if (value != 50 && value != 60)
                ++bad;
            (void)settings.apiToken().size();
        }
    });
    for (int i = 0; i < 2000; ++i) {
        settings.setHistoryMaxEntries(i % 2 ? 50 : 60);
        settings.setApiToken(i % 2 ? QStringLiteral("a-fairly-long-token-value") : QString());
    }
    stop = true;
    reader.join();
    EXPECT_EQ(bad, 0);
}
