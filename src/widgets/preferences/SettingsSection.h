#pragma once

#include <QWidget>

class QLabel;
class QLayout;
class QVBoxLayout;

// A titled group of settings: the title in a headline font above a rounded box that holds the controls.
class SettingsSection : public QWidget {
    Q_OBJECT

public:
    SettingsSection(const QString& title, QWidget* parent = nullptr);

    void addWidget(QWidget* widget);
    void addLayout(QLayout* layout);

    // A wrapping caption in the secondary text colour.
    static QLabel* caption(const QString& text, QWidget* parent);
    // A page's heading, larger than a section's title.
    static QLabel* pageHeading(const QString& text, QWidget* parent);

private:
    QVBoxLayout* m_content;
};
