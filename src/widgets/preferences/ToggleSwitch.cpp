#include "widgets/preferences/ToggleSwitch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int TrackWidth = 40;
constexpr int TrackHeight = 22;
constexpr int KnobMargin = 3;

class ToggleSwitchAccessible : public QAccessibleWidget {
public:
    explicit ToggleSwitchAccessible(ToggleSwitch* toggle)
        : QAccessibleWidget(toggle, QAccessible::CheckBox)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return toggle()->accessibleValue();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = toggle()->isChecked();
        return state;
    }

    QStringList actionNames() const override { return QStringList{toggleAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString& name) override
    {
        if (name == toggleAction())
            toggle()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    ToggleSwitch* toggle() const { return static_cast<ToggleSwitch*>(widget()); }
};

QAccessibleInterface* accessibleToggle(const QString& className, QObject* object)
{
    if (className == QLatin1String("ToggleSwitch") && object && object->isWidgetType())
        return new ToggleSwitchAccessible(static_cast<ToggleSwitch*>(object));
    return nullptr;
}

} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent)
    : QCheckBox(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleToggle);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ToggleSwitch::sizeHint() const
{
    return {TrackWidth + 4, TrackHeight + 4};
}

QSize ToggleSwitch::minimumSizeHint() const
{
    return sizeHint();
}

QString ToggleSwitch::accessibleValue() const
{
    if (isChecked()) {
        //% "On"
        return qtTrId("accessibility.toggle.on");
    }
    //% "Off"
    return qtTrId("accessibility.toggle.off");
}

bool ToggleSwitch::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(0, 0, TrackWidth, TrackHeight).translated(2, 2);
    const QPalette& colors = palette();

    if (hasFocus()) {
        QColor ring = colors.color(QPalette::Highlight);
        ring.setAlphaF(0.5);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-1, -1, 1, 1), TrackHeight / 2.0 + 1, TrackHeight / 2.0 + 1);
    }

    QColor fill = isChecked() ? colors.color(QPalette::Highlight) : colors.color(QPalette::Mid);
    if (!isEnabled())
        fill.setAlphaF(0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, TrackHeight / 2.0, TrackHeight / 2.0);

    const qreal knob = TrackHeight - 2 * KnobMargin;
    const qreal x = isChecked() ? track.right() - KnobMargin - knob : track.left() + KnobMargin;
    painter.setBrush(isEnabled() ? QColor(Qt::white) : QColor(245, 245, 245));
    painter.drawEllipse(QRectF(x, track.top() + KnobMargin, knob, knob));
}
