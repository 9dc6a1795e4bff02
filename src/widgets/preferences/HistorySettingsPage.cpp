#include "widgets/preferences/HistorySettingsPage.h"

#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "widgets/preferences/RangeStepper.h"
#include "widgets/preferences/SettingsSection.h"
#include "widgets/preferences/SettingsToggle.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int ControlWidth = 120;

} // namespace

HistorySettingsPage::HistorySettingsPage(AppSettings& settings, HistoryManager& history, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_history(history)
{
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(18);

    //% "History"
    auto* recording = new SettingsSection(qtTrId("prefs.history.title"), this);
    m_enable = new SettingsToggle(
        //% "Keep a history of captures"
        qtTrId("prefs.history.enable"),
        //% "Saved captures are kept with a screenshot of their screen, on this computer only."
        qtTrId("prefs.history.enable.help"), recording);
    recording->addWidget(m_enable);
    layout->addWidget(recording);

    //% "Options"
    auto* options = new SettingsSection(qtTrId("prefs.history.options.title"), this);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    m_maxEntries = new RangeStepper(10, 500, 10, options);
    m_maxEntries->setFixedWidth(ControlWidth);
    //% "Maximum entries:"
    form->addRow(qtTrId("prefs.history.max"), m_maxEntries);
    m_autoDelete = new QComboBox(options);
    m_autoDelete->setMinimumWidth(ControlWidth);
    //% "After 7 days"
    m_autoDelete->addItem(qtTrId("prefs.history.days.7"), 7);
    //% "After 14 days"
    m_autoDelete->addItem(qtTrId("prefs.history.days.14"), 14);
    //% "After 30 days"
    m_autoDelete->addItem(qtTrId("prefs.history.days.30"), 30);
    //% "After 90 days"
    m_autoDelete->addItem(qtTrId("prefs.history.days.90"), 90);
    //% "Never"
    m_autoDelete->addItem(qtTrId("prefs.history.days.never"), 0);
    //% "Delete entries automatically:"
    form->addRow(qtTrId("prefs.history.autodelete"), m_autoDelete);
    m_maxEntries->setAccessibleName(qtTrId("prefs.history.max"));
    m_autoDelete->setAccessibleName(qtTrId("prefs.history.autodelete"));
    options->addLayout(form);
    layout->addWidget(options);

    //% "Data"
    auto* data = new SettingsSection(qtTrId("prefs.history.data.title"), this);
    data->addWidget(SettingsSection::caption(
        //% "Deletes every saved capture and its screenshot. This cannot be undone."
        qtTrId("prefs.history.clear.description"), data));
    //% "Clear History…"
    m_clearButton = new QPushButton(qtTrId("prefs.history.clear"), data);
    m_clearButton->setObjectName(QStringLiteral("clearHistoryButton"));
    m_clearButton->setStyleSheet(QStringLiteral("QPushButton#clearHistoryButton { color: #c0392b; }"));
    m_clearButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    data->addWidget(m_clearButton);
    layout->addWidget(data);
    layout->addStretch(1);

    connect(m_enable, &SettingsToggle::toggled, &m_settings, &AppSettings::setHistoryEnabled);
    connect(m_maxEntries, &RangeStepper::valueChosen, this,
            [this](int value) { m_settings.setHistoryMaxEntries(value); });
    // Only the person's choice is written: a stored number that is none of the choices shows no selection and stays.
    connect(m_autoDelete, &QComboBox::activated, this,
            [this](int index) { m_settings.setHistoryAutoDeleteDays(m_autoDelete->itemData(index).toLongLong()); });
    connect(m_clearButton, &QPushButton::clicked, this, &HistorySettingsPage::confirmClear);
    reload();
}

void HistorySettingsPage::reload()
{
    m_enable->setChecked(m_settings.historyEnabled());
    if (m_maxEntries->value() != m_settings.historyMaxEntries())
        m_maxEntries->showValue(m_settings.historyMaxEntries());
    int index = -1;
    for (int i = 0; i < m_autoDelete->count() && index < 0; ++i)
        if (m_autoDelete->itemData(i).toLongLong() == m_settings.historyAutoDeleteDays())
            index = i;
    m_autoDelete->setCurrentIndex(index);
}

void HistorySettingsPage::confirmClear()
{
    if (m_confirmation) {
        m_confirmation->raise();
        return;
    }
    auto* box = new QMessageBox(window());
    box->setIcon(QMessageBox::Warning);
    box->setAttribute(Qt::WA_DeleteOnClose);
    //% "Clear the whole history?"
    box->setText(qtTrId("prefs.history.clear.confirm.title"));
    box->setInformativeText(qtTrId("prefs.history.clear.description"));
    // Wide enough that the explanation does not wrap into a narrow column.
    box->setStyleSheet(QStringLiteral("QLabel#qt_msgbox_informativelabel { min-width: 320px; }"));
    //% "Clear History"
    QPushButton* clear = box->addButton(qtTrId("prefs.history.clear.confirm.button"), QMessageBox::DestructiveRole);
    clear->setObjectName(QStringLiteral("confirmClearButton"));
    clear->setStyleSheet(QStringLiteral("QPushButton#confirmClearButton { color: #c0392b; }"));
    box->setWindowTitle(clear->text());
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, clear](QAbstractButton* button) {
        if (button == clear)
            m_history.clearHistory();
    });
    m_confirmation = box;
    box->open();
}
