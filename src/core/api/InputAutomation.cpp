#include "core/api/InputAutomation.h"

#include "core/platform/ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

// How soon a character is tried again when every spare key still carries one the receivers may not have read.
constexpr std::chrono::milliseconds TypeRetry{25};

} // namespace

InputAutomation::InputAutomation(SyntheticInput* input, std::function<QRectF()> primaryGeometry, QObject* parent)
    : QObject(parent)
    , m_input(input)
    , m_primaryGeometry(std::move(primaryGeometry))
    , m_available(input && input->isAvailable())
    , m_unavailableReason(input ? input->unavailableReason() : QString())
{
    m_next.setSingleShot(true);
    m_next.setTimerType(Qt::PreciseTimer);
    connect(&m_next, &QTimer::timeout, this, &InputAutomation::runNext);
    m_releaseSpareKeys.setSingleShot(true);
    m_releaseSpareKeys.setInterval(SpareKeyHold);
    connect(&m_releaseSpareKeys, &QTimer::timeout, this, [this] {
        if (m_input)
            m_input->releaseSpareKeys();
    });
}

InputAutomation::~InputAutomation()
{
    // Keys and buttons a cut-off request still holds are let go by the input itself when it goes.
    if (m_input && m_releaseSpareKeys.isActive())
        m_input->releaseSpareKeys();
}

bool InputAutomation::enqueue(Script script)
{
    qsizetype events = 0;
    std::chrono::milliseconds time{0};
    for (const Step& step : script) {
        events += step.events();
        time += step.duration();
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_queuedEvents + events > MaxQueuedEvents || m_queuedTime + time > MaxQueuedTime)
            return false;
        m_queuedEvents += events;
        m_queuedTime += time;
    }
    // Dropped with this object if it goes first; the counters go with it.
    QMetaObject::invokeMethod(
        this, [this, script = std::move(script)]() mutable { append(std::move(script)); }, Qt::QueuedConnection);
    return true;
}

void InputAutomation::append(Script script)
{
    const bool idle = m_steps.empty();
    for (Step& step : script)
        m_steps.push_back(std::move(step));
    if (idle && !m_next.isActive() && !m_steps.empty())
        m_next.start(0);
}

void InputAutomation::runNext()
{
    if (m_steps.empty())
        return;
    Step& step = m_steps.front();
    if (!run(step)) {
        m_next.start(TypeRetry);
        return;
    }
    const Step done = std::move(step);
    m_steps.pop_front();
    if (done.action == Step::Action::Glide) {
        glide(done); // puts its moves at the front of the queue
    }
    finished(done);
    if (!m_steps.empty())
        m_next.start(done.action == Step::Action::Glide ? std::chrono::milliseconds(0) : done.pause);
}

bool InputAutomation::run(Step& step)
{
    if (!m_input)
        return true;
    switch (step.action) {
    case Step::Action::Move: {
        const QRectF primaryRect = primary();
        if (primaryRect.isNull())
            return true;
        const QPointF now =
            (step.x && step.y) ? QPointF() : ScreenGeometry::toPrimaryTopLeft(m_input->pointerPosition(), primaryRect);
        const QPointF target(step.x.value_or(now.x()), step.y.value_or(now.y()));
        m_input->movePointer(ScreenGeometry::fromPrimaryTopLeft(target, primaryRect));
        return true;
    }
    case Step::Action::Glide:
        return true;
    case Step::Action::ButtonDown:
        m_input->buttonDown(step.button);
        return true;
    case Step::Action::ButtonUp:
        m_input->buttonUp(step.button);
        return true;
    case Step::Action::KeyDown:
        m_input->keyDown(step.keyCode, 0);
        return true;
    case Step::Action::KeyUp:
        m_input->keyUp(step.keyCode, 0);
        return true;
    case Step::Action::Type: {
        const qsizetype typed = m_input->typeText(step.text);
        m_releaseSpareKeys.start();
        step.text.remove(0, typed);
        return step.text.isEmpty();
    }
    }
    return true;
}

// Reads where the pointer is now and puts the moves from there at the front of the queue: one at the start, then
// glideSteps more, the last at the target, spread evenly over the glide's duration.
void InputAutomation::glide(const Step& step)
{
    const QRectF primaryRect = primary();
    if (!m_input || primaryRect.isNull() || step.glideSteps < 1)
        return;
    const QPointF start = ScreenGeometry::toPrimaryTopLeft(m_input->pointerPosition(), primaryRect);
    const QPointF target(step.x.value_or(start.x()), step.y.value_or(start.y()));
    const int steps = step.glideSteps;
    std::vector<Step> moves;
    moves.reserve(size_t(steps) + 1);
    qint64 scheduled = 0; // whole milliseconds given out so far, so that rounding never adds up
    for (int i = 0; i <= steps; ++i) {
        Step move;
        const QPointF at = start + (target - start) * (qreal(i) / steps);
        move.x = at.x();
        move.y = at.y();
        if (i < steps) {
            const auto due = qint64(std::llround(double(step.glideDuration.count()) * (i + 1) / steps));
            move.pause = std::chrono::milliseconds(due - scheduled);
            scheduled = due;
        } else {
            move.pause = step.pause;
        }
        moves.push_back(std::move(move));
    }
    {
        std::lock_guard lock(m_mutex);
        for (const Step& move : moves) {
            m_queuedEvents += move.events();
            m_queuedTime += move.duration();
        }
    }
    m_steps.insert(m_steps.begin(), moves.begin(), moves.end());
}

void InputAutomation::finished(const Step& step)
{
    std::lock_guard lock(m_mutex);
    m_queuedEvents -= step.events();
    m_queuedTime -= step.duration();
}

QRectF InputAutomation::primary() const
{
    if (m_primaryGeometry)
        return m_primaryGeometry();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? QRectF(screen->geometry()) : QRectF();
}

std::optional<QPointF> InputAutomation::pointerPosition() const
{
    const QRectF primaryRect = primary();
    if (!m_input || primaryRect.isNull())
        return std::nullopt;
    return ScreenGeometry::toPrimaryTopLeft(m_input->pointerPosition(), primaryRect);
}
