#include "widgets/preferences/PreferencesWindowController.h"

#include "widgets/common/EscClosableWindow.h"
#include "widgets/common/WindowStyle.h"
#include "widgets/preferences/PreferencesView.h"
#include "widgets/preferences/SettingsItem.h"

#include <QVBoxLayout>

PreferencesWindowController::PreferencesWindowController(AppSettings& settings, HistoryManager& history,
                                                         PreferencesDelegate& delegate, QObject* parent)
    : QObject(parent)
    , m_window(std::make_unique<EscClosableWindow>())
{
    EscClosableWindow* window = m_window.get();
    window->setObjectName(QStringLiteral("preferencesWindow"));
    window->setWindowTitle(title());
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(Width, Height);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new PreferencesView(settings, history, delegate, PreferencesTab::General, window);
    layout->addWidget(m_view);
}

PreferencesWindowController::~PreferencesWindowController() = default;

QString PreferencesWindowController::title()
{
    return qtTrId("menu.preferences").remove(QStringLiteral("...")).remove(QChar(0x2026)).trimmed();
}

void PreferencesWindowController::showWindow()
{
    if (!m_placed) {
        m_placed = true;
        WindowStyle::centerOnScreen(m_window.get());
        m_view->item(m_view->selectedTab())->setFocus(Qt::OtherFocusReason);
    }
    WindowStyle::bringToFront(m_window.get());
}

void PreferencesWindowController::selectTab(PreferencesTab tab)
{
    m_view->selectTab(tab);
}
