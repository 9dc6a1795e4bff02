#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest show texts (and lists of them) as readable UTF-8 in failure messages.
void PrintTo(const QString& text, std::ostream* os);
