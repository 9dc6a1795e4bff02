#pragma once

#include <QColor>
#include <QWidget>

// One line of the API page's route list: the method in its colour, the path and what the route does.
class APIEndpointRow : public QWidget {
    Q_OBJECT

public:
    APIEndpointRow(const QString& method, const QString& path, const QString& description, QWidget* parent = nullptr);

    // GET blue, POST green, PUT orange, DELETE red, any other grey.
    static QColor methodColor(const QString& method);
};
