#pragma once

#include "LogCapture.h"
#include "RawHttpConnection.h"
#include "RecordingAPIDelegate.h"
#include "platform/fake/FakeLoginItem.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class AppSettings;
class HistoryManager;
class HTTPAPIServer;
class JsonFileDefaultsStore;

// The real server on a free loopback port, with real settings and history stores in a folder of the test's
// private home, and a recording delegate for the application.
class ServerFixture : public ::testing::Test {
protected:
    ServerFixture();
    ~ServerFixture() override;
    void SetUp() override;

    static quint16 freePort();
    // A non-loopback IPv4 address of this machine, or an empty text when it has none.
    static QString networkAddress();

    // "METHOD path HTTP/1.1" with Host: localhost, and a JSON body with its Content-Length when given.
    static QByteArray request(const QByteArray& method, const QByteArray& path, const QByteArray& body = {},
                              const QByteArray& extraHeaders = {});
    RawHttpResponse send(const QByteArray& bytes, const QString& address = QStringLiteral("127.0.0.1"))
    {
        return exchange(port, bytes, address);
    }
    RawHttpResponse get(const QByteArray& path) { return send(request("GET", path)); }
    // Lets the main thread run what the server handed it.
    void settle();
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);

    // Destroyed in reverse: the server goes before the stores and the delegate it uses.
    LogCapture log;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<JsonFileDefaultsStore> defaults;
    FakeLoginItem loginItem;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<HistoryManager> history;
    RecordingAPIDelegate delegate;
    std::unique_ptr<HTTPAPIServer> server;
    quint16 port = 0;
};
