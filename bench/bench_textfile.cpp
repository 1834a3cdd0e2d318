// Throughput of what every open runs over the whole file: encoding and line-end detection
// (decodeText), on 50 MB of accented mixed web source.
#include "document/TextFile.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

namespace {

const QByteArray &document()
{
    static const QByteArray text = kestrin::bench::repeated(
        "<tr><td class=\"c3\">padding price r\xC3\xA9sum\xC3\xA9 S\xC3\xA3o Paulo</td></tr>\r\n"
        "<?php if ($count > 75) { echo \"<b>$name</b>\"; } // na\xC3\xAFve fa\xC3\xA7" "ade ?>\r\n"
        ".box35 { width: 22px; color: #2c9cef; } /* Z\xC3\xBCrich \xE2\x82\xAC 5 */\r\n");
    return text;
}

void BM_DecodeUtf8(benchmark::State &state)
{
    const QByteArray &text = document();
    for (auto _ : state) {
        kestrin::DecodeResult r = kestrin::decodeText(text);
        benchmark::DoNotOptimize(r.utf8.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}

} // namespace

BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond);
