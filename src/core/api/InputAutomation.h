#pragma once

#include "core/platform/SyntheticInput.h"

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Carries out the pointer and keyboard input that the HTTP API's input routes ask for, on the main thread and one
// step at a time from a single queue: each request's steps keep their order and spacing and follow those of the
// requests before, and the pauses between steps are timers, so the main thread goes on answering meanwhile.
// Positions are the API's: points with the origin at the top-left of the primary monitor, y downwards.
class InputAutomation : public QObject {
    Q_OBJECT

public:
    struct Step {
        enum class Action { Move, Glide, ButtonDown, ButtonUp, KeyDown, KeyUp, Type };

        Action action = Action::Move;
        // Move, Glide: where to; a coordinate left out stays where the pointer is when the step runs.
        std::optional<qreal> x;
        std::optional<qreal> y;
        // Glide: from where the pointer is when the step runs, in glideSteps moves spread over glideDuration
        // after one at the start.
        int glideSteps = 0;
        std::chrono::milliseconds glideDuration{0};
        SyntheticInput::MouseButton button = SyntheticInput::MouseButton::Left;
        quint32 keyCode = 0;
        // Type: one character as a person sees it, possibly of several code points.
        QString text;
        // Before the next step.
        std::chrono::milliseconds pause{0};

        // The input events the step makes, and how long it takes with its pause.
        qsizetype events() const { return action == Action::Glide ? qsizetype(glideSteps) + 1 : 1; }
        std::chrono::milliseconds duration() const { return pause + glideDuration; }
    };
    using Script = std::vector<Step>;

    // What the queue holds at most, all requests together; each request has tighter limits of its own.
    static constexpr qsizetype MaxQueuedEvents = 100'000;
    static constexpr std::chrono::milliseconds MaxQueuedTime{10 * 60 * 1000};
    // How long a spare key keeps its character after the last typing: the receivers read it meanwhile.
    static constexpr std::chrono::milliseconds SpareKeyHold{500};

    // Main thread. input may be null (no desktop to post to: every step is dropped). primaryGeometry gives the
    // primary monitor in Qt's global coordinates; by default the GUI's primary screen.
    explicit InputAutomation(SyntheticInput* input, std::function<QRectF()> primaryGeometry = {},
                             QObject* parent = nullptr);
    ~InputAutomation() override;

    // Any thread. Whether the desktop accepts synthetic input.
    bool isAvailable() const { return m_available; }
    // The desktop's own reason for refusing (see SyntheticInput::unavailableReason), fixed at construction.
    QString unavailableReason() const { return m_unavailableReason; }
    // Any thread. Queues the steps after everything queued before; false, with nothing queued, when the queue would
    // then hold more than its limits.
    bool enqueue(Script script);

    // Main thread. The pointer in the API's coordinates; nothing without a primary monitor or an input.
    std::optional<QPointF> pointerPosition() const;

private:
    void append(Script script);
    void runNext();
    // Runs the step; false when it must be tried again a little later.
    bool run(Step& step);
    void glide(const Step& step);
    QRectF primary() const;
    void finished(const Step& step);

    SyntheticInput* m_input;
    std::function<QRectF()> m_primaryGeometry;
    const bool m_available;
    const QString m_unavailableReason;

    // Main thread.
    std::deque<Step> m_steps;
    QTimer m_next;
    QTimer m_releaseSpareKeys;

    std::mutex m_mutex; // guards the two below, which enqueue reads on the server thread
    qsizetype m_queuedEvents = 0;
    std::chrono::milliseconds m_queuedTime{0};
};
