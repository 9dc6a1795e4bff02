#include "widgets/preferences/PreferencesView.h"

#include "core/settings/AppSettings.h"
#include "widgets/preferences/APISettingsPage.h"
#include "widgets/preferences/GeneralSettingsPage.h"
#include "widgets/preferences/HistorySettingsPage.h"
#include "widgets/preferences/SettingsItem.h"
#include "widgets/preferences/TextSettingsPage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QScrollArea* scrolling(QWidget* page, QWidget* parent)
{
    auto* area = new QScrollArea(parent);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from the tab list straight to the page's first control; the area follows the focus.
    area->setFocusPolicy(Qt::NoFocus);
    page->layout()->setContentsMargins(20, 18, 20, 18);
    area->setWidget(page);
    return area;
}

} // namespace

PreferencesView::PreferencesView(AppSettings& settings, HistoryManager& history, PreferencesDelegate& delegate,
                                 PreferencesTab initialTab, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* sidebar = new QWidget(this);
    sidebar->setObjectName(QStringLiteral("preferencesSidebar"));
    sidebar->setFixedWidth(SidebarWidth);
    sidebar->setBackgroundRole(QPalette::Window);
    sidebar->setAutoFillBackground(true);
    auto* tabs = new QVBoxLayout(sidebar);
    tabs->setContentsMargins(SidebarPadding, SidebarPadding, SidebarPadding, SidebarPadding);
    tabs->setSpacing(TabSpacing);
    for (const PreferencesTab tab : PreferencesTabs::all()) {
        auto* item = new SettingsItem(tab, sidebar);
        tabs->addWidget(item);
        m_items.append(item);
        connect(item, &SettingsItem::clicked, this, [this, tab] { selectTab(tab); });
        connect(item, &SettingsItem::stepRequested, this, [this, tab](int step) {
            const qsizetype index = PreferencesTabs::all().indexOf(tab) + step;
            if (index < 0 || index >= m_items.size())
                return;
            selectTab(m_items[index]->tab());
            m_items[index]->setFocus(Qt::TabFocusReason);
        });
    }
    tabs->addStretch(1);
    layout->addWidget(sidebar);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    layout->addWidget(divider);

    m_pages = new QStackedWidget(this);
    m_general = new GeneralSettingsPage(settings, delegate);
    m_text = new TextSettingsPage(settings);
    m_history = new HistorySettingsPage(settings, history);
    m_api = new APISettingsPage(settings, delegate);
    for (QWidget* page : std::initializer_list<QWidget*>{m_general, m_text, m_history, m_api})
        m_pages->addWidget(scrolling(page, m_pages));
    layout->addWidget(m_pages, 1);

    connect(&settings, &AppSettings::changed, this, &PreferencesView::reload);
    selectTab(initialTab);
}

SettingsItem* PreferencesView::item(PreferencesTab tab) const
{
    return m_items.value(PreferencesTabs::all().indexOf(tab));
}

void PreferencesView::selectTab(PreferencesTab tab)
{
    m_selected = tab;
    const qsizetype index = PreferencesTabs::all().indexOf(tab);
    for (SettingsItem* item : std::as_const(m_items)) {
        const bool selected = item->tab() == tab;
        item->setChecked(selected);
        // Like a tab bar: Tab reaches the selected tab, the arrows the others.
        item->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
    }
    m_pages->setCurrentIndex(int(index));
}

void PreferencesView::reload()
{
    m_general->reload();
    m_text->reload();
    m_history->reload();
    m_api->reload();
}
