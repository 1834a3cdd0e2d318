// Throughput of the multi-file replace step on a 50 MB web page (target: at least 1 GB/s).
#include "replace/ReplaceEngine.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QByteArray>


namespace {

[[maybe_unused]] const bool heapKept = kestrin::bench::keepFreedBlocksInHeap();

const QByteArray &document()
{
    static const QByteArray text = kestrin::bench::repeated(
        "<div class=\"box\" style=\"color: #336699; margin: 0\">Café Ölé <b>x</b></div>\r\n"
        "<p>Árvíztűrő tükörfúrógép, <a href=\"/page.php?id=7\">more</a></p>\r\n");
    return text;
}

void run(benchmark::State &state, const QByteArray &find, const QByteArray &replacement)
{
    const QByteArray &text = document();
    for (auto _ : state) {
        QByteArray out = kestrin::replaceAll(text, find, replacement);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

// One match per line, the usual site-wide edit.
void BM_ReplaceCommonWord(benchmark::State &state) { run(state, "color:", "colour:"); }
// A word that never occurs: the pure scan.
void BM_ReplaceAbsentWord(benchmark::State &state) { run(state, "zebra-crossing", "x"); }
// A single, very frequent byte: the worst case for the output copy.
void BM_ReplaceFrequentByte(benchmark::State &state) { run(state, "<", "&lt;"); }

void BM_CopyBaseline(benchmark::State &state)
{
    const QByteArray &text = document();
    for (auto _ : state) {
        QByteArray out(text.constData(), text.size());
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

} // namespace

BENCHMARK(BM_ReplaceCommonWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAbsentWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceFrequentByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond);
