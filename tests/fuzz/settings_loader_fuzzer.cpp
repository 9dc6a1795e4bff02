// The settings file as a damaged disk or a careless edit leaves it: every setting must read as a value of its
// kind, and after one assignment the file must hold a JSON object that a second start reads to the same values.
#include "FuzzSupport.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/linux/JsonFileDefaultsStore.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// Every setting as text, read through the typed getters (which throw on a value of the wrong kind).
QStringList readAll(const AppSettings& settings)
{
    return {QString::number(settings.hotkeyKeyCode()),
            QString::number(settings.hotkeyModifiers()),
            QString::number(settings.removeLineBreaks()),
            QString::number(settings.cleanupWhitespace()),
            QString::number(settings.fixHyphenation()),
            QString::number(settings.historyEnabled()),
            QString::number(settings.historyMaxEntries()),
            QString::number(settings.historyAutoDeleteDays()),
            QString::number(settings.apiEnabled()),
            QString::number(settings.apiPort()),
            settings.apiToken(),
            QString::number(settings.captureWindowShadows()),
            QString::number(settings.showCaptureHint()),
            QString::number(settings.copyToPrimarySelection())};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir root(FuzzSupport::temporaryRoot());
    const QString path = root.path() + QStringLiteral("/settings.json");
    if (!FuzzSupport::writeFile(path, QByteArrayView(data, qsizetype(size))))
        return 0;

    FakeLoginItem loginItem;
    QStringList before;
    {
        JsonFileDefaultsStore store(path);
        AppSettings settings(store, loginItem);
        before = readAll(settings);
        FUZZ_CHECK(settings.hotkeyKeyCode() != 0 && settings.hotkeyModifiers() != 0, before.join(u' '));
        settings.setShowCaptureHint(!settings.showCaptureHint());
        before = readAll(settings);
    }

    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), file.errorString());
    const QByteArray saved = file.readAll();
    const nlohmann::json parsed = nlohmann::json::parse(saved.begin(), saved.end(), nullptr, false);
    FUZZ_CHECK(parsed.is_object(), QString::fromUtf8(saved));

    JsonFileDefaultsStore store(path);
    AppSettings settings(store, loginItem);
    const QStringList after = readAll(settings);
    FUZZ_CHECK(after == before, before.join(u' ') + QStringLiteral("\n-- read back --\n") + after.join(u' '));
    return 0;
}
