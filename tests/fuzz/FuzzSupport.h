#pragma once

#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// What every fuzz target shares (FuzzSupport.cpp is built into each): libFuzzer's initialisation, which makes the
// application object once (the stores and the bridge need an event loop) and keeps log lines off the terminal, and
// a failed invariant reported like a crash, so that libFuzzer keeps the input that broke it.
namespace FuzzSupport {

// A folder of its own under the fuzz run's temporary folder, removed with everything in it at the end; the
// program's data folder in it, with its screenshots folder, and settings at their defaults.
struct Home {
    QTemporaryDir root{QDir::tempPath() + QStringLiteral("/quillora-fuzz-XXXXXX")};
    const QString folder = root.path() + QStringLiteral("/Quillora");
    const bool made = QDir().mkpath(folder + QStringLiteral("/Screenshots"));
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
};

// Writes the bytes to the file; false when the disk did not take them all.
bool writeFile(const QString& path, QByteArrayView bytes);

[[noreturn]] inline void fail(const char* file, int line, const char* condition, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n%s\n", file, line, condition, qUtf8Printable(detail));
    std::abort();
}

} // namespace FuzzSupport

// Checked in every build: libFuzzer's inputs are the point, so the check cannot be compiled out.
#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition)) [[unlikely]]                                                                                 \
            FuzzSupport::fail(__FILE__, __LINE__, #condition, (detail));                                               \
    } while (false)
