#pragma once

#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <QStringList>
#include <QTemporaryDir>

// Settings over an in-memory store, with every default in place.
struct TestSettings {
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    AppSettings settings{store, loginItem};
};

// The settings and an empty history in a folder of its own.
struct TestStores : TestSettings {
    QTemporaryDir dir;
    HistoryManager history{settings, dir.path()};
};

inline QStringList textsOf(const QList<HistoryEntry>& entries)
{
    QStringList texts;
    for (const HistoryEntry& entry : entries)
        texts.append(entry.text);
    return texts;
}
