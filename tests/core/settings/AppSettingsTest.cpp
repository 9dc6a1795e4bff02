#include "core/settings/AppSettings.h"
#include "core/settings/APIConnectionInfo.h"

#include "QStringPrinter.h"
#include "TestStores.h"

#include <gtest/gtest.h>

// Each row: what is stored under a key, and what the setting reads as at start: which keys coerce, which fall back.
TEST(AppSettings, ReadRulesPerKind)
{
    using json = nlohmann::json;
    using Read = std::function<json(const AppSettings&)>;
    const std::vector<std::tuple<const char*, const char*, json, Read, json>> rows = {
        {"port as text with junk is coerced", "apiPort", "80abc", [](auto& s) { return json(s.apiPort()); }, 80},
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

TEST(APIConnectionInfo, LocalAddressIsTheFirstRunningNetworkInterfacesIPv4)
{
    using Interface = APIConnectionInfo::Interface;
    const QHostAddress loopback(QStringLiteral("127.0.0.1"));
    const QHostAddress lan(QStringLiteral("192.168.1.20"));
    const QHostAddress wifi(QStringLiteral("10.0.0.7"));
    const QHostAddress v6(QStringLiteral("fe80::1"));
    const auto up = [](QList<QHostAddress> addresses) { return Interface{true, true, false, addresses}; };
    const std::tuple<const char*, QList<Interface>, const char*> rows[] = {
        {"no interfaces", {}, "localhost"},
        {"loopback only", {Interface{true, true, true, {loopback}}}, "localhost"},
        {"loopback listed first is skipped", {Interface{true, true, true, {loopback}}, up({lan})}, "192.168.1.20"},
        {"down", {Interface{false, false, false, {lan}}, up({wifi})}, "10.0.0.7"},
        {"up but not running", {Interface{true, false, false, {lan}}}, "localhost"},
        {"IPv6 only, then IPv4", {up({v6}), up({wifi})}, "10.0.0.7"},
        {"IPv4 after IPv6 on one interface", {up({v6, lan})}, "192.168.1.20"},
    };
    for (const auto& [name, interfaces, expected] : rows)
        EXPECT_EQ(APIConnectionInfo::localIPv4(interfaces), QString::fromLatin1(expected)) << name;

    // Without a token the server listens on the loopback only: the network address would not answer.
    EXPECT_EQ(APIConnectionInfo::serverURL(QString(), 8080, {up({lan})}), QStringLiteral("http://localhost:8080/"));
    EXPECT_EQ(APIConnectionInfo::serverURL(QStringLiteral("T"), 8080, {up({lan})}),
              QStringLiteral("http://192.168.1.20:8080/"));
}
