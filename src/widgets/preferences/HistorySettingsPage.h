#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

class AppSettings;
class HistoryManager;
class QComboBox;

class QPushButton;
class RangeStepper;
class SettingsToggle;

// The History page: recording on or off, how many entries and for how long, and clearing the whole history after a
// confirmation.
class HistorySettingsPage : public QWidget {
    Q_OBJECT

public:
    HistorySettingsPage(AppSettings& settings, HistoryManager& history, QWidget* parent = nullptr);

    void reload();

    SettingsToggle* enableToggle() const { return m_enable; }
    RangeStepper* maxEntries() const { return m_maxEntries; }
    QComboBox* autoDelete() const { return m_autoDelete; }
    QPushButton* clearButton() const { return m_clearButton; }
    // The open confirmation, or null.
    QMessageBox* clearConfirmation() const { return m_confirmation; }

private:
    void confirmClear();

    AppSettings& m_settings;
    HistoryManager& m_history;
    SettingsToggle* m_enable;
    RangeStepper* m_maxEntries;
    QComboBox* m_autoDelete;
    QPushButton* m_clearButton;
    QPointer<QMessageBox> m_confirmation;
};
