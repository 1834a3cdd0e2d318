// The multi-file run's text steps on any text: replacing a text by itself changes nothing,
// replaceAll equals a plain left-to-right reference, the count matches, and addLine puts the
// added text and exactly one line break at the chosen end.
#include "FuzzCheck.h"
#include "replace/ReplaceEngine.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QByteArray naiveReplaceAll(const QByteArray &text, const QByteArray &find, const QByteArray &with, qsizetype *count)
{
    *count = 0;
    if (find.isEmpty())
        return text;
    QByteArray out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (i + find.size() <= text.size() && std::equal(find.begin(), find.end(), text.begin() + i)) {
            out += with;
            i += find.size();
            ++*count;
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

QByteArray bytes(FuzzedDataProvider &in, size_t max)
{
    const std::string s = in.ConsumeRandomLengthString(max);
    return QByteArray(s.data(), qsizetype(s.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QByteArray find = bytes(in, 16);
    const QByteArray with = bytes(in, 16);
    const bool atEnd = in.ConsumeBool();
    static const QByteArray breaks[] = {"\r\n", "\n", "\r"};
    const QByteArray &lineBreak = breaks[in.ConsumeIntegralInRange(0, 2)];
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray text(rest.data(), qsizetype(rest.size()));
    const QByteArray shownInput = find + "|" + with + "|" + text;

    KESTRIN_FUZZ_CHECK(kestrin::replaceAll(text, find, find) == text, shownInput, kestrin::replaceAll(text, find, find));
    qsizetype expectedCount = 0;
    const QByteArray expected = naiveReplaceAll(text, find, with, &expectedCount);
    const QByteArray got = kestrin::replaceAll(text, find, with);
    KESTRIN_FUZZ_CHECK(got == expected, shownInput, got);
    KESTRIN_FUZZ_CHECK(kestrin::countOccurrences(text, find) == expectedCount, shownInput, got);
    KESTRIN_FUZZ_CHECK(got.size() == text.size() + expectedCount * (with.size() - find.size()), shownInput, got);

    const QByteArray added = kestrin::addLine(text, with, atEnd, lineBreak);
    const QByteArray expectedAdded = atEnd ? text + lineBreak + with : with + lineBreak + text;
    KESTRIN_FUZZ_CHECK(added == expectedAdded, shownInput, added);
    return 0;
}
