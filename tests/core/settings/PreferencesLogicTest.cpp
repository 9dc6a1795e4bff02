#include "core/settings/APIConnectionInfo.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

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
        {"first of two", {up({lan}), up({wifi})}, "192.168.1.20"},
    };
    for (const auto& [name, interfaces, expected] : rows)
        EXPECT_EQ(APIConnectionInfo::localIPv4(interfaces), QString::fromLatin1(expected)) << name;

    // Without a token the server listens on the loopback only: the network address would not answer.
    EXPECT_EQ(APIConnectionInfo::serverURL(QString(), 8080, {up({lan})}), QStringLiteral("http://localhost:8080/"));
    EXPECT_EQ(APIConnectionInfo::serverURL(QStringLiteral("T"), 8080, {up({lan})}),
              QStringLiteral("http://192.168.1.20:8080/"));
}
