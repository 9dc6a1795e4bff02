#include "core/settings/PreferencesTab.h"

QList<PreferencesTab> PreferencesTabs::all()
{
    return {PreferencesTab::General, PreferencesTab::TextProcessing, PreferencesTab::History, PreferencesTab::API};
}

QString PreferencesTabs::rawValue(PreferencesTab tab)
{
    switch (tab) {
    case PreferencesTab::General:
        return QStringLiteral("general");
    case PreferencesTab::TextProcessing:
        return QStringLiteral("textProcessing");
    case PreferencesTab::History:
        return QStringLiteral("history");
    case PreferencesTab::API:
        return QStringLiteral("api");
    }
    return QStringLiteral("general");
}

PreferencesTab PreferencesTabs::fromName(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("text") || lower == QLatin1String("textprocessing") ||
        lower == QLatin1String("text_processing"))
        return PreferencesTab::TextProcessing;
    if (lower == QLatin1String("history"))
        return PreferencesTab::History;
    if (lower == QLatin1String("api"))
        return PreferencesTab::API;
    return PreferencesTab::General;
}
