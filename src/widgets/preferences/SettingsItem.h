#pragma once

#include "core/settings/PreferencesTab.h"

#include <QAbstractButton>

// One tab in the left column of the preferences: its icon (from the desktop's icon theme, or the program's own)
// and title; the selected one is drawn in the accent colour on a rounded highlight. Up and Down move the selection
// to the neighbouring tab; only the selected tab is in the Tab key's focus chain, as in a tab bar.
class SettingsItem : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int Height = 32;

    SettingsItem(PreferencesTab tab, QWidget* parent = nullptr);

    PreferencesTab tab() const { return m_tab; }
    // The localized title ("prefs.tab.general" ...).
    static QString title(PreferencesTab tab);

    QSize sizeHint() const override;

signals:
    // Up (-1) or Down (+1) was pressed on this tab.
    void stepRequested(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PreferencesTab m_tab;
};
