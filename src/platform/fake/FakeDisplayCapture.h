#pragma once

#include "core/platform/DisplayCapture.h"

#include <QHash>

#include <chrono>
#include <condition_variable>
#include <mutex>

// Monitors and still images prepared by a test. Records every capture call with the thread it ran on and counts
// the permission checks, and can
// hold each call until a number of calls are in flight at once, to show that monitors are captured in parallel.
class FakeDisplayCapture : public DisplayCapture {
public:
    struct Call {
        quint32 displayId = 0;
        Qt::HANDLE thread = nullptr;
    };

    // Adds a monitor; its still image is image (a null image makes its capture fail).
    void addDisplay(const Monitor& display, const QImage& image);
    void setCanCapture(bool canCapture);
    // Each capture waits (at most for timeout) until this many captures are running together.
    void setRendezvous(int callsInFlight, std::chrono::milliseconds timeout = std::chrono::seconds(5));

    QList<Monitor> displays() const override;
    QImage captureDisplay(const Monitor& display) override;
    // The first monitor's image.
    QImage capturePrimaryDisplay() override;
    bool canCapture() override;

    QList<Call> calls() const;
    int permissionChecks() const;
    int maxCallsInFlight() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<Monitor> m_displays;
    QHash<quint32, QImage> m_images;
    bool m_canCapture = true;
    int m_permissionChecks = 0;
    int m_rendezvous = 0;
    std::chrono::milliseconds m_rendezvousTimeout{0};
    int m_inFlight = 0;
    int m_maxInFlight = 0;
    QList<Call> m_calls;
};
