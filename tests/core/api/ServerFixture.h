#pragma once

#include "LogCapture.h"
#include "RawHttpConnection.h"
#include "RecordingAPIDelegate.h"
#include "TestEnvironment.h"
#include "core/api/HTTPAPIServer.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeDisplayCapture.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/FakeSyntheticInput.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

// The real server on a free loopback port, with real settings and history stores (history files in a folder of
// the test's private home), a recording delegate for the application, and a recording synthetic input and prepared
// monitor images for the desktop, whose primary monitor is primaryGeometry.
class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // A non-loopback IPv4 address of this machine, or an empty text when it has none.
    static QString networkAddress();

    // "METHOD path HTTP/1.1" with Host: localhost, and a JSON body with its Content-Length when given.
    static QByteArray request(const QByteArray& method, const QByteArray& path, const QByteArray& body = {},
                              const QByteArray& extraHeaders = {});
    // The whole exchange on a fresh connection, off the main thread.
    RawHttpResponse send(const QByteArray& bytes, const QString& address = QStringLiteral("127.0.0.1"));
    RawHttpResponse get(const QByteArray& path) { return send(request("GET", path)); }
    // Lets the main thread run what the server handed it.
    void settle() { QCoreApplication::processEvents(); }
    // Queues work that keeps the main thread busy this long once it gets to it.
    static void occupyMainThread(std::chrono::milliseconds duration);
    // Runs the main thread's event loop this long.
    static void processEventsFor(std::chrono::milliseconds duration);

    // Destroyed in reverse: the server goes before the stores and the delegate it uses.
    LogCapture log;
    QTemporaryDir folder{TestEnvironment::home() + QStringLiteral("/api-XXXXXX")};
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    HistoryManager history{settings, folder.path() + QStringLiteral("/Quillora")};
    RecordingAPIDelegate delegate;
    FakeSyntheticInput input;
    FakeDisplayCapture display;
    QRectF primaryGeometry{0, 0, 1920, 1080};
    HTTPAPIServer server{settings, history,
                         HTTPAPIServer::Desktop{&input, &display, [this] { return primaryGeometry; }}};
    quint16 port = 0;
};
