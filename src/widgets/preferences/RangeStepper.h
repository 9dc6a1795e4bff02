#pragma once

#include <QSpinBox>

// A spin box whose steps stay within a range, that still shows a stored value outside it (one written through the
// HTTP API, say) as it is. Showing a value writes nothing: valueChosen() tells of the person's changes only, a
// step or a typed number confirmed with Enter or by leaving the field, and always within the range.
class RangeStepper : public QSpinBox {
    Q_OBJECT

public:
    RangeStepper(int minimum, int maximum, int step, QWidget* parent = nullptr);

    // Shows the value, also outside the range, without emitting valueChosen().
    void showValue(qint64 value);
    void stepBy(int steps) override;

signals:
    void valueChosen(int value);

protected:
    StepEnabled stepEnabled() const override;

private:
    void choose(int value);

    const int m_minimum;
    const int m_maximum;
    const int m_step;
};
