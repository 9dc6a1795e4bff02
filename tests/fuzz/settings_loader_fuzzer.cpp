// The settings file as a damaged disk or a careless edit leaves it: every setting must read as a value of its
// kind, and after one assignment the file must hold a JSON object that a second start reads to the same values.
#include "FuzzSupport.h"
#include "platform/linux/JsonFileDefaultsStore.h"

#include <QDebug>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

// Every setting as text, read through the typed getters (which throw on a value of the wrong kind).
QString readAll(const AppSettings& s)
{
    QString text;
    QDebug(&text) << s.hotkeyKeyCode() << s.hotkeyModifiers() << s.removeLineBreaks() << s.cleanupWhitespace()
                  << s.fixHyphenation() << s.historyEnabled() << s.historyMaxEntries() << s.historyAutoDeleteDays()
                  << s.apiEnabled() << s.apiPort() << s.apiToken() << s.captureWindowShadows() << s.showCaptureHint()
                  << s.copyToPrimarySelection();
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Home home;
    const QString path = home.root.path() + QStringLiteral("/settings.json");
    if (!FuzzSupport::writeFile(path, QByteArrayView(data, qsizetype(size))))
        return 0;

    FakeLoginItem& loginItem = home.loginItem;
    QString before;
    {
        JsonFileDefaultsStore store(path);
        AppSettings settings(store, loginItem);
        before = readAll(settings);
        FUZZ_CHECK(settings.hotkeyKeyCode() != 0 && settings.hotkeyModifiers() != 0, before);
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
    const QString after = readAll(settings);
    FUZZ_CHECK(after == before, before + QStringLiteral("\n-- read back --\n") + after);
    return 0;
}
