#include "widgets/preferences/RangeStepper.h"

#include <QSignalBlocker>

#include <algorithm>
#include <limits>

RangeStepper::RangeStepper(int minimum, int maximum, int step, QWidget* parent)
    : QSpinBox(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_step(step)
{
    setRange(minimum, maximum);
    setSingleStep(step);
    // A typed number counts once it is confirmed, not at every digit.
    setKeyboardTracking(false);
    connect(this, &QSpinBox::valueChanged, this, &RangeStepper::choose);
}

void RangeStepper::showValue(qint64 value)
{
    const int shown = int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    const QSignalBlocker blocker(this);
    setRange(std::min(m_minimum, shown), std::max(m_maximum, shown));
    setValue(shown);
}

void RangeStepper::stepBy(int steps)
{
    const qint64 current = value();
    // From outside the range a step only ever leads into it.
    if ((current <= m_minimum && steps < 0) || (current >= m_maximum && steps > 0))
        return;
    const int target = int(std::clamp<qint64>(current + qint64(steps) * m_step, m_minimum, m_maximum));
    {
        const QSignalBlocker blocker(this);
        setRange(m_minimum, m_maximum);
        setValue(target);
    }
    selectAll();
    if (target != current)
        emit valueChosen(target);
}

QAbstractSpinBox::StepEnabled RangeStepper::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (value() < m_maximum)
        enabled |= StepUpEnabled;
    if (value() > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void RangeStepper::choose(int value)
{
    const int chosen = std::clamp(value, m_minimum, m_maximum);
    if (chosen != value || minimum() != m_minimum || maximum() != m_maximum)
        showValue(chosen);
    emit valueChosen(chosen);
}
