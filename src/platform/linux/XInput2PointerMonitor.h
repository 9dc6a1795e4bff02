#pragma once

#include "core/platform/PointerMonitor.h"

#include <QObject>

#include <memory>

class QSocketNotifier;
class QTimer;

// Global pointer motion on X11 from XInput 2 raw motion events on the root window, which arrive whichever client
// the pointer is over and also while the pointer is pinned at a screen edge. Uses an X connection of its own,
// read on the main thread; the motion that piles up between two reads is reported once, with the deltas summed.
// Reports come at most every MinReportIntervalMs: each one costs a wake-up and a round trip to the X server for the
// position, and a mouse sends 125 or more movements a second to a process that watches the whole desktop all day.
// Only device motion is reported: the server sends no raw events for warps of the pointer to a position (XTest's
// absolute moves, XWarpPointer).
class XInput2PointerMonitor : public QObject, public PointerMonitor {
public:
    explicit XInput2PointerMonitor(QObject* parent = nullptr);
    ~XInput2PointerMonitor() override;

    static constexpr int MinReportIntervalMs = 40;

    bool start(Handler handler) override;
    void stop() override;
    QPointF position() const override;

private:
    struct Private;

    void readEvents();
    bool connectToDisplay();

    std::unique_ptr<Private> d;
    std::unique_ptr<QSocketNotifier> m_notifier;
    // Runs between a report and the next read; the socket is not watched meanwhile.
    QTimer* m_pause = nullptr;
    Handler m_handler;
};
