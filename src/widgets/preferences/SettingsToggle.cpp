#include "widgets/preferences/SettingsToggle.h"

#include "widgets/preferences/SettingsSection.h"
#include "widgets/preferences/ToggleSwitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

SettingsToggle::SettingsToggle(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent)
    , m_switch(new ToggleSwitch(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* titleLabel = new QLabel(title, this);
    titleLabel->setWordWrap(true);
    texts->addWidget(titleLabel);
    if (!subtitle.isEmpty())
        texts->addWidget(SettingsSection::caption(subtitle, this));
    layout->addLayout(texts, 1);
    layout->addWidget(m_switch, 0, Qt::AlignTop);

    m_switch->setAccessibleName(title);
    m_switch->setAccessibleDescription(subtitle);
    connect(m_switch, &ToggleSwitch::clicked, this, &SettingsToggle::toggled);
}

bool SettingsToggle::isChecked() const
{
    return m_switch->isChecked();
}

void SettingsToggle::setChecked(bool checked)
{
    m_switch->setChecked(checked);
}

void SettingsToggle::mousePressEvent(QMouseEvent* event)
{
    // Taken, so that the release of a click on the title or caption comes here.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void SettingsToggle::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && isEnabled())
        m_switch->click();
}
