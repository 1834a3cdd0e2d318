// Throughput of the whole-document text transforms on a 50 MB UTF-8 page.
#include "textutil/CharacterReferences.h"
#include "textutil/TextTransforms.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QByteArray>


namespace {

using kestrin::bench::DocumentBytes;
[[maybe_unused]] const bool heapKept = kestrin::bench::keepFreedBlocksInHeap();

// A mark-up heavy page with accented text: tags, attributes, entities, CR LF lines.
const QByteArray &document()
{
    static const QByteArray text = kestrin::bench::repeated(
        "<tr><td class='name'>Café Ölé</td><td>Árvíztűrő tükörfúrógép</td></tr>\r\n"
        "<p align='left'>Some plain text &amp; a price of 5 &euro; &#233; &gt; x</p>\r\n"
        "<div id=\"main\"><b>São Paulo</b> — Zürich — Straße — Ñandú</div>\r\n"
        "if ($a > 1 && $b < 2) { echo 'contact me@example.org'; }\r\n");
    return text;
}

// The floor for any transform that produces a new document: one copy of it.
void BM_CopyBaseline(benchmark::State &state)
{
    const QByteArray &text = document();
    for (auto _ : state) {
        QByteArray out(text.constData(), text.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

void BM_StripTags(benchmark::State &state)
{
    const QByteArray &text = document();
    for (auto _ : state) {
        QByteArray out = kestrin::StripTags(text);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

void BM_ReplaceSpecialCharacters(benchmark::State &state)
{
    const QByteArray &text = document();
    for (auto _ : state) {
        QByteArray out = kestrin::ReplaceSpecialCharacters(text);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

// A selection as large as the document, with its only "@" at the very end.
void BM_AddressToLink(benchmark::State &state)
{
    QByteArray selection(DocumentBytes, 'a');
    selection[selection.size() - 1] = '@';
    for (auto _ : state) {
        QByteArray out = kestrin::AddressToLink(selection);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * selection.size());
}

} // namespace

BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripTags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceSpecialCharacters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddressToLink)->Unit(benchmark::kMillisecond);
