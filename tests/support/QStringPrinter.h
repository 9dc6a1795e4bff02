#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest show texts (and lists of them) as readable UTF-8 in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
