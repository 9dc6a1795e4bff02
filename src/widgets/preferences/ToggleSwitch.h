#pragma once

#include <QCheckBox>

// A check box drawn as a switch: a rounded track with a knob that sits right, on the accent colour, when it is on.
// Assistive technology reads it as a check box whose value is "On" or "Off" in the user's language.
class ToggleSwitch : public QCheckBox {
    Q_OBJECT

public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The localized "on" or "off".
    QString accessibleValue() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};
