#include "TestStores.h"

QStringList textsOf(const QList<HistoryEntry>& entries)
{
    QStringList texts;
    for (const HistoryEntry& entry : entries)
        texts.append(entry.text);
    return texts;
}
