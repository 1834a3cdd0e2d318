// Throughput of the whole-document text transforms on a 50 MB UTF-8 page.
#include "textutil/CharacterReferences.h"
#include "textutil/TextTransforms.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <malloc.h>

namespace {

// Every transform returns a fresh 50 MB (or larger) array. By default glibc maps such blocks anew
// and unmaps them on free, so each iteration pays page faults for the whole output, which on a
// virtualised machine cost more than the scan itself. Keeping freed blocks in the heap makes the
// numbers describe the transforms; BM_CopyBaseline shows what a plain copy costs on the same terms.
[[maybe_unused]] const bool heapKept = [] {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}();

constexpr qsizetype DocumentBytes = 50 * 1024 * 1024;

// A mark-up heavy page with accented text: tags, attributes, entities, CR LF lines.
const QByteArray &document()
{
    static const QByteArray text = [] {
        const QByteArray block =
            "<tr><td class='name'>Café Ölé</td><td>Árvíztűrő tükörfúrógép</td></tr>\r\n"
            "<p align='left'>Some plain text &amp; a price of 5 &euro; &#233; &gt; x</p>\r\n"
            "<div id=\"main\"><b>São Paulo</b> — Zürich — Straße — Ñandú</div>\r\n"
            "if ($a > 1 && $b < 2) { echo 'contact me@example.org'; }\r\n";
        QByteArray out;
        out.reserve(DocumentBytes + block.size());
        while (out.size() < DocumentBytes)
            out += block;
        out.truncate(DocumentBytes);
        return out;
    }();
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
