#pragma once

#include "core/settings/PreferencesTab.h"

#include <QWidget>

class APISettingsPage;
class AppSettings;
class GeneralSettingsPage;
class HistoryManager;
class HistorySettingsPage;
class PreferencesDelegate;
class QStackedWidget;
class SettingsItem;
class TextSettingsPage;

// The content of the preferences window: the column of tabs on the left and the selected tab's page, which
// scrolls, on the right. Every control writes its setting the moment it is changed, and every page follows the
// settings when they change elsewhere (the HTTP API, say).
class PreferencesView : public QWidget {
    Q_OBJECT

public:
    static constexpr int SidebarWidth = 200;
    static constexpr int SidebarPadding = 10;
    static constexpr int TabSpacing = 2;

    PreferencesView(AppSettings& settings, HistoryManager& history, PreferencesDelegate& delegate,
                    PreferencesTab initialTab = PreferencesTab::General, QWidget* parent = nullptr);

    PreferencesTab selectedTab() const { return m_selected; }
    void selectTab(PreferencesTab tab);
    SettingsItem* item(PreferencesTab tab) const;

    GeneralSettingsPage* generalPage() const { return m_general; }
    TextSettingsPage* textPage() const { return m_text; }
    HistorySettingsPage* historyPage() const { return m_history; }
    APISettingsPage* apiPage() const { return m_api; }

private:
    void reload();

    PreferencesTab m_selected = PreferencesTab::General;
    QList<SettingsItem*> m_items;
    QStackedWidget* m_pages;
    GeneralSettingsPage* m_general;
    TextSettingsPage* m_text;
    HistorySettingsPage* m_history;
    APISettingsPage* m_api;
};
