#pragma once

#include "platform/DisplayCapture.h"

#include <memory>
#include <mutex>
#include <vector>

// Still images of the X11 monitors (the RandR monitors as Qt's screen list reports them), read from the root
// window through shared memory (MIT-SHM), or with a plain GetImage where shared memory cannot be used.
// displays() and canCapture() run on the main thread; captureDisplay() may run on several threads at once,
// each call on an X connection of its own taken from a small pool.
class X11DisplayCapture : public DisplayCapture {
public:
    X11DisplayCapture();
    ~X11DisplayCapture() override;
    X11DisplayCapture(const X11DisplayCapture&) = delete;
    X11DisplayCapture& operator=(const X11DisplayCapture&) = delete;

    QList<Display> displays() const override;
    QImage captureDisplay(const Display& display) override;
    bool canCapture() override;

    // The monitor's rectangle on the root window in device pixels.
    static QRect pixelRect(const Display& display);
    // A monitor's id: derived from its name, so the same monitor keeps its id for the whole session.
    static quint32 idForName(const QString& name);

    // Shared-memory segments of images that were let go, kept for reuse: a fresh segment costs the server a
    // page fault per 4 KiB it writes, which for a 4K monitor is most of the capture's time. Images hold the pool
    // weakly and hand their segment back when they go.
    struct SegmentPool;

private:
    struct Connection;
    std::unique_ptr<Connection> takeConnection();
    void returnConnection(std::unique_ptr<Connection> connection);
    QImage capture(Connection& connection, const QRect& rect);

    std::mutex m_poolMutex;
    std::vector<std::unique_ptr<Connection>> m_idle;
    std::shared_ptr<SegmentPool> m_segments;
};
