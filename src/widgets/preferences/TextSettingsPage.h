#pragma once

#include <QWidget>

class AppSettings;
class SettingsToggle;

// The Text page: the three clean-up steps applied to recognised text.
class TextSettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit TextSettingsPage(AppSettings& settings, QWidget* parent = nullptr);

    void reload();

    SettingsToggle* lineBreaksToggle() const { return m_lineBreaks; }
    SettingsToggle* whitespaceToggle() const { return m_whitespace; }
    SettingsToggle* hyphenationToggle() const { return m_hyphenation; }

private:
    AppSettings& m_settings;
    SettingsToggle* m_lineBreaks;
    SettingsToggle* m_whitespace;
    SettingsToggle* m_hyphenation;
};
