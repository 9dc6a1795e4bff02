#include "widgets/preferences/APIEndpointRow.h"

#include "widgets/preferences/SettingsSection.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>

APIEndpointRow::APIEndpointRow(const QString& method, const QString& path, const QString& description, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    auto* methodLabel = new QLabel(method, this);
    QFont methodFont = mono;
    methodFont.setWeight(QFont::DemiBold);
    methodLabel->setFont(methodFont);
    QPalette palette = methodLabel->palette();
    palette.setColor(QPalette::WindowText, methodColor(method));
    methodLabel->setPalette(palette);
    methodLabel->setFixedWidth(60);
    layout->addWidget(methodLabel);

    auto* pathLabel = new QLabel(path, this);
    pathLabel->setFont(mono);
    pathLabel->setFixedWidth(110);
    layout->addWidget(pathLabel);

    layout->addWidget(SettingsSection::caption(description, this), 1);
    setAccessibleName(QStringLiteral("%1 %2: %3").arg(method, path, description));
}

QColor APIEndpointRow::methodColor(const QString& method)
{
    if (method == QLatin1String("GET"))
        return QColor(0x1f, 0x6f, 0xd1);
    if (method == QLatin1String("POST"))
        return QColor(0x2e, 0x8b, 0x3a);
    if (method == QLatin1String("PUT"))
        return QColor(0xd9, 0x7a, 0x00);
    if (method == QLatin1String("DELETE"))
        return QColor(0xc6, 0x2d, 0x2d);
    return QColor(0x80, 0x80, 0x80);
}
