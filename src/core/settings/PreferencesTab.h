#pragma once

#include <QList>
#include <QString>

// The four pages of the preferences window, in the order they are listed.
enum class PreferencesTab { General, TextProcessing, History, API };

namespace PreferencesTabs {

QList<PreferencesTab> all();
// "general", "textProcessing", "history", "api".
QString rawValue(PreferencesTab tab);
// The page a caller names, in any case: "general", "text" ("textprocessing", "text_processing"), "history", "api";
// any other name, the empty one too, is the general page.
PreferencesTab fromName(const QString& name);

} // namespace PreferencesTabs
