#include "widgets/preferences/SettingsSection.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int BoxPadding = 10;

QColor secondaryText(const QPalette& palette)
{
    // Between the text and the window colour, so that it follows light and dark themes.
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    const auto mix = [](int a, int b) { return (a * 55 + b * 45) / 100; };
    return QColor(mix(text.red(), window.red()), mix(text.green(), window.green()), mix(text.blue(), window.blue()));
}

QLabel* boldLabel(const QString& text, qreal scale, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

SettingsSection::SettingsSection(const QString& title, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(boldLabel(title, 1.0, this));

    auto* box = new QFrame(this);
    box->setObjectName(QStringLiteral("settingsSectionBox"));
    box->setStyleSheet(QStringLiteral("QFrame#settingsSectionBox { background: palette(base); "
                                      "border: 1px solid palette(midlight); border-radius: 8px; }"));
    m_content = new QVBoxLayout(box);
    m_content->setContentsMargins(BoxPadding, BoxPadding, BoxPadding, BoxPadding);
    m_content->setSpacing(10);
    layout->addWidget(box);
    setAccessibleName(title);
}

void SettingsSection::addWidget(QWidget* widget)
{
    m_content->addWidget(widget);
}

void SettingsSection::addLayout(QLayout* layout)
{
    m_content->addLayout(layout);
}

QLabel* SettingsSection::caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, secondaryText(palette));
    label->setPalette(palette);
    return label;
}

QLabel* SettingsSection::pageHeading(const QString& text, QWidget* parent)
{
    return boldLabel(text, 1.35, parent);
}
