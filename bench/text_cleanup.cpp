// Text clean-up of a 100 KB recognised text: the step between recognition and the editor, on the main thread.
#include "core/capture/TextCleanup.h"

#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <benchmark/benchmark.h>

namespace {

// Recognised text as it comes back: short lines, words broken at line ends, doubled spaces, a tab, a no-break
// space and some non-ASCII letters.
QString recognisedText(qsizetype bytes)
{
    const QString paragraph = QString::fromUtf16(
        u"The committee reviewed the inter-\nnational trade agree-\nment  in detail and found\n"
        u"that the pro-\n posed changes\twould affect ex-\nport quotas for 2024.\n"
        u"Gr\u00FC\u00DFe aus K\u00F6ln \u2013 caf\u00E9\u00A0cr\u00E8me,  na\u00EFve co-operation.\n\n");
    QString text;
    while (text.toUtf8().size() < bytes)
        text += paragraph;
    return text;
}

void BM_TextCleanupDefaultSettings(benchmark::State& state)
{
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    AppSettings settings(store, loginItem);
    const QString text = recognisedText(100 * 1024);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextCleanup::clean(text, settings));
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
}
BENCHMARK(BM_TextCleanupDefaultSettings)->Unit(benchmark::kMicrosecond);

void BM_TextCleanupAllRepairs(benchmark::State& state)
{
    const QString text = recognisedText(100 * 1024);
    const TextCleanup::Options all{true, true, true};
    for (auto _ : state)
        benchmark::DoNotOptimize(TextCleanup::clean(text, all));
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
}
BENCHMARK(BM_TextCleanupAllRepairs)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
