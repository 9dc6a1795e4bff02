#pragma once

#include <QWidget>

class QLabel;
class ToggleSwitch;

// One on/off setting: its title, an optional caption below it, and a switch at the right. Clicking the title
// toggles too. toggled() tells of the person's changes only, so that showing a stored value writes nothing.
class SettingsToggle : public QWidget {
    Q_OBJECT

public:
    SettingsToggle(const QString& title, const QString& subtitle = QString(), QWidget* parent = nullptr);

    bool isChecked() const;
    // Shows a value without emitting toggled().
    void setChecked(bool checked);
    ToggleSwitch* toggleSwitch() const { return m_switch; }

signals:
    void toggled(bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ToggleSwitch* m_switch;
};
