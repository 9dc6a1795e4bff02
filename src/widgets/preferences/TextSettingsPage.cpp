#include "widgets/preferences/TextSettingsPage.h"

#include "core/settings/AppSettings.h"
#include "widgets/preferences/SettingsSection.h"
#include "widgets/preferences/SettingsToggle.h"

#include <QVBoxLayout>

TextSettingsPage::TextSettingsPage(AppSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
{
    auto* layout = new QVBoxLayout(this);
    //% "Text Clean-up"
    auto* section = new SettingsSection(qtTrId("prefs.text.title"), this);
    m_lineBreaks = new SettingsToggle(
        //% "Remove line breaks"
        qtTrId("prefs.text.linebreaks"),
        //% "Turns every line break into a space, so that the text becomes one line."
        qtTrId("prefs.text.linebreaks.help"), section);
    m_whitespace = new SettingsToggle(
        //% "Clean up whitespace"
        qtTrId("prefs.text.whitespace"),
        //% "Turns every run of spaces, tabs and line breaks into one space and trims both ends."
        qtTrId("prefs.text.whitespace.help"), section);
    m_hyphenation = new SettingsToggle(
        //% "Repair hyphenation"
        qtTrId("prefs.text.hyphenation"),
        //% "Joins words split by a hyphen at the end of a line: “exam- ple” becomes “example”."
        qtTrId("prefs.text.hyphenation.help"), section);
    for (SettingsToggle* toggle : {m_lineBreaks, m_whitespace, m_hyphenation})
        section->addWidget(toggle);
    layout->addWidget(section);

    //% "Clipboard"
    auto* clipboard = new SettingsSection(qtTrId("prefs.text.clipboard.title"), this);
    m_primarySelection = new SettingsToggle(
        //% "Also paste with the middle button"
        qtTrId("prefs.text.primary"),
        //% "Puts the captured text into the primary selection as well, which a click of the middle mouse button "
        //% "pastes."
        qtTrId("prefs.text.primary.help"), clipboard);
    clipboard->addWidget(m_primarySelection);
    layout->addWidget(clipboard);
    layout->addStretch(1);

    connect(m_lineBreaks, &SettingsToggle::toggled, &m_settings, &AppSettings::setRemoveLineBreaks);
    connect(m_whitespace, &SettingsToggle::toggled, &m_settings, &AppSettings::setCleanupWhitespace);
    connect(m_hyphenation, &SettingsToggle::toggled, &m_settings, &AppSettings::setFixHyphenation);
    connect(m_primarySelection, &SettingsToggle::toggled, &m_settings, &AppSettings::setCopyToPrimarySelection);
    reload();
}

void TextSettingsPage::reload()
{
    m_lineBreaks->setChecked(m_settings.removeLineBreaks());
    m_whitespace->setChecked(m_settings.cleanupWhitespace());
    m_hyphenation->setChecked(m_settings.fixHyphenation());
    m_primarySelection->setChecked(m_settings.copyToPrimarySelection());
}
