#pragma once

#include "LogCapture.h"
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
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <functional>

// One answer as it came off the wire; a response without a blank line parses empty.
struct RawHttpResponse {
    QByteArray statusLine;  // "HTTP/1.1 200 OK"
    QByteArray headerBlock; // status line, header lines and the blank line, exactly as sent
    QByteArray body;

    static RawHttpResponse parse(const QByteArray& raw);
    int status() const { return statusLine.mid(9, 3).toInt(); }
    nlohmann::json json() const { return nlohmann::json::parse(body.constBegin(), body.constEnd(), nullptr, false); }
};

// A blocking TCP client of raw bytes to a numeric address, for a helper thread: the server thread and the main
// thread (where the server's main-thread work runs) must both stay free while it waits.
class RawHttpConnection {
public:
    explicit RawHttpConnection(quint16 port, const QString& address = QStringLiteral("127.0.0.1"));
    ~RawHttpConnection();

    bool isOpen() const { return m_fd >= 0; }
    void send(const QByteArray& bytes);
    // Reads until the marker has arrived (an empty one: until the peer closes), or 15 s pass without a byte.
    QByteArray readUntil(const QByteArray& marker = {});
    // True when the peer closed within the time without sending anything more.
    bool closedByPeer(int timeoutMs);

private:
    int m_fd = -1;
};

// Runs work on a helper thread while this thread's event loop keeps running, and returns when it is done.
void runOffMainThread(const std::function<void()>& work);

// One request on a fresh connection, on this thread.
RawHttpResponse exchangeHere(quint16 port, const QByteArray& request,
                             const QString& address = QStringLiteral("127.0.0.1"));

// The real server on a free loopback port with real settings and history stores, a recording delegate, a recording
// synthetic input and prepared monitor images; the primary monitor is primaryGeometry.
class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // A non-loopback IPv4 address of this machine, or an empty text.
    static QString networkAddress();
    // "METHOD path HTTP/1.1" with Host: localhost, and a JSON body with its Content-Length when given.
    static QByteArray request(const QByteArray& method, const QByteArray& path, const QByteArray& body = {},
                              const QByteArray& extraHeaders = {});
    // One request on a fresh connection, off the main thread.
    RawHttpResponse send(const QByteArray& bytes, const QString& address = QStringLiteral("127.0.0.1"));
    RawHttpResponse get(const QByteArray& path) { return send(request("GET", path)); }
    // Lets the main thread run what the server handed it.
    void settle() { QCoreApplication::processEvents(); }

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
