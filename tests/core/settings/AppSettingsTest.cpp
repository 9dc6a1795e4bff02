#include "core/settings/AppSettings.h"

#include "TestStores.h"

#include <gtest/gtest.h>

// Each row: what is stored under a key, and what the setting reads as at start: which keys coerce, which fall back.
TEST(AppSettings, ReadRulesPerKind)
{
    using json = nlohmann::json;
    using Read = std::function<json(const AppSettings&)>;
    const std::vector<std::tuple<const char*, const char*, json, Read, json>> rows = {
        {"port as text with junk is coerced", "apiPort", "80abc", [](auto& s) { return json(s.apiPort()); }, 80},
        {"api enabled YES is coerced", "apiEnabled", "YES", [](auto& s) { return json(s.apiEnabled()); }, true},
        {"max entries as text falls back", "historyMaxEntries", "20",
         [](auto& s) { return json(s.historyMaxEntries()); }, 50},
        {"boolean as number falls back", "historyEnabled", 0, [](auto& s) { return json(s.historyEnabled()); }, true},
        {"token as number reads empty", "apiToken", 42, [](auto& s) { return json(s.apiToken().toStdString()); }, ""},
        {"key code 0 falls back", "hotkeyKeyCode", 0, [](auto& s) { return json(s.hotkeyKeyCode()); }, 26},
        {"key code 2^32 falls back", "hotkeyKeyCode", 1LL << 32, [](auto& s) { return json(s.hotkeyKeyCode()); }, 26},
    };
    for (const auto& [name, key, stored, read, expected] : rows) {
        TestSettings f;
        f.store.preset(key, stored);
        EXPECT_EQ(read(AppSettings(f.store, f.loginItem)), expected) << name;
    }
}

TEST(AppSettings, ReadsFromAnotherThreadWhileAssigning)
{
    TestSettings f;
    AppSettings& settings = f.settings;
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
