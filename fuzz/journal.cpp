// Reading any bytes as a recovery journal: never a crash, a hang or an unchecked read; a journal
// that is recovered gives a text whose length every record agreed with, and a cut journal never
// recovers more than the whole one.
#include "FuzzCheck.h"
#include "document/Journal.h"

#include <QBuffer>

namespace {

kestrin::JournalContents read(QByteArray bytes, bool headerOnly = false)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return kestrin::readJournal(buffer, headerOnly);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const kestrin::JournalContents whole = read(input);
    const QByteArray shownInput = kestrin::fuzz::shown(input);
    KESTRIN_FUZZ_CHECK(whole.ok != !whole.reason.isEmpty(), shownInput, whole.reason);
    KESTRIN_FUZZ_CHECK(whole.ok || whole.text.isEmpty(), shownInput, whole.text);
    KESTRIN_FUZZ_CHECK(whole.goodBytes <= input.size(), shownInput, QByteArray::number(whole.goodBytes));
    if (!whole.ok)
        return 0;
    // What the complete records say is all there is: read again without the rest, the same text.
    const kestrin::JournalContents good = read(input.left(qsizetype(whole.goodBytes)));
    KESTRIN_FUZZ_CHECK(good.ok && !good.torn && good.text == whole.text, shownInput, good.text);
    KESTRIN_FUZZ_CHECK(read(input, true).ok, shownInput, QByteArray("header only"));
    return 0;
}
