// StripTags on any bytes: it equals the definition in two passes (drop what lies from "<" to ">",
// then drop the ">" left), nothing tag-like is left, a second strip changes nothing, and what is
// left is the input's own bytes in their order (a subsequence), never anything new.
#include "FuzzCheck.h"
#include "textutil/TextTransforms.h"

namespace {

QByteArray stripTagsTwoPasses(const QByteArray &s)
{
    QByteArray intermediate, out;
    bool inside = false;
    for (char c : s) {
        if (c == '<')
            inside = true;
        if (c == '>')
            inside = false;
        if (!inside)
            intermediate.append(c);
    }
    for (char c : intermediate)
        if (c != '>')
            out.append(c);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray out = kestrin::StripTags(input);
    KESTRIN_FUZZ_CHECK(out == stripTagsTwoPasses(input), input, out);
    KESTRIN_FUZZ_CHECK(!out.contains('<') && !out.contains('>'), input, out);
    KESTRIN_FUZZ_CHECK(kestrin::StripTags(out) == out, input, out);
    qsizetype at = 0;
    for (const char c : out) {
        at = input.indexOf(c, at);
        KESTRIN_FUZZ_CHECK(at >= 0, input, out);
        ++at;
    }
    // Without any "<" only the ">" go.
    if (!input.contains('<')) {
        QByteArray expected = input;
        expected.replace(">", "");
        KESTRIN_FUZZ_CHECK(out == expected, input, out);
    }
    return 0;
}
