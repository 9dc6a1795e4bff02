#pragma once

#include <QWidget>

class AppSettings;
class SettingsToggle;

// The Text page: the three clean-up steps applied to recognised text, and where the text goes besides the
// clipboard.
class TextSettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit TextSettingsPage(AppSettings& settings, QWidget* parent = nullptr);

    void reload();

    SettingsToggle* lineBreaksToggle() const { return m_lineBreaks; }
    SettingsToggle* whitespaceToggle() const { return m_whitespace; }
    SettingsToggle* hyphenationToggle() const { return m_hyphenation; }
    SettingsToggle* primarySelectionToggle() const { return m_primarySelection; }

private:
    AppSettings& m_settings;
    SettingsToggle* m_lineBreaks;
    SettingsToggle* m_whitespace;
    SettingsToggle* m_hyphenation;
    SettingsToggle* m_primarySelection;
};
