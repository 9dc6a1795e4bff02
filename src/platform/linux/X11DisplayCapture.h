#pragma once

#include "core/platform/DisplayCapture.h"

#include <memory>
#include <mutex>
#include <vector>

// Still images of the X11 monitors (the RandR monitors as Qt's screen list reports them), read from the root
// window through shared memory (MIT-SHM), or with a plain GetImage where shared memory cannot be used.
// displays() and canCapture() run on the main thread; captureDisplay() may run on several threads at once,
// each call on an X connection of its own taken from a small pool. Images wrap the shared memory the server wrote
// into, without a copy; that memory stays attached to the server and is used again once its image is gone, so
// the capture of a monitor costs little more than the server copying its pixels.
class X11DisplayCapture : public DisplayCapture {
public:
    X11DisplayCapture();
    ~X11DisplayCapture() override;
    X11DisplayCapture(const X11DisplayCapture&) = delete;
    X11DisplayCapture& operator=(const X11DisplayCapture&) = delete;

    QList<Monitor> displays() const override;
    QImage captureDisplay(const Monitor& display) override;
    // The RandR monitor marked primary (else the first one, else the whole root window), asked for on a pooled
    // connection.
    QImage capturePrimaryDisplay() override;
    bool canCapture() override;

    // The monitor's rectangle on the root window in device pixels.
    static QRect pixelRect(const Monitor& display);
    // A monitor's id: derived from its name, so the same monitor keeps its id for the whole session.
    static quint32 idForName(const QString& name);

    // The shared-memory segments of one connection, which stay attached to the server between captures.
    struct SegmentPool;

private:
    struct Connection;
    // An idle connection, the one that last captured a monitor of this size when there is one.
    std::unique_ptr<Connection> takeConnection(const QSize& size);
    void returnConnection(std::unique_ptr<Connection> connection);
    // Asks the server for the root window's size; true when it differs from what the connection knew.
    static bool updateRootRect(Connection& connection);
    static QRect primaryMonitorRect(Connection& connection);
    QImage capture(Connection& connection, const QRect& rect);

    std::mutex m_poolMutex;
    std::vector<std::unique_ptr<Connection>> m_idle;
};
