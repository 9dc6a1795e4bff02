#pragma once

#include <QWidget>

class AppSettings;
class PreferencesDelegate;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsToggle;

// The HTTP API page: the server switch and port (applied with a button, which restarts the server), its address,
// its documentation, the access token and the list of the main routes.
class APISettingsPage : public QWidget {
    Q_OBJECT

public:
    APISettingsPage(AppSettings& settings, PreferencesDelegate& delegate, QWidget* parent = nullptr);

    void reload();

    SettingsToggle* enableToggle() const { return m_enable; }
    QLineEdit* portField() const { return m_port; }
    QPushButton* applyButton() const { return m_apply; }
    QLabel* addressLabel() const { return m_address; }
    QPushButton* docsButton() const { return m_docs; }
    QLineEdit* tokenField() const { return m_token; }
    QPushButton* generateButton() const { return m_generate; }

private:
    void commitPort();

    AppSettings& m_settings;
    PreferencesDelegate& m_delegate;
    SettingsToggle* m_enable;
    QLineEdit* m_port;
    QPushButton* m_apply;
    QLabel* m_address;
    QPushButton* m_docs;
    QLineEdit* m_token;
    QPushButton* m_generate;
};
