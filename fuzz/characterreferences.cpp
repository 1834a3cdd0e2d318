// The twenty-letter rewrite on any bytes: afterwards none of the twenty letters is left, and
// everything else is the input's bytes unchanged and in order; each letter became its own
// numeric reference. The reference implementation here decodes nothing: each letter is the
// two-byte sequence C3 xx, and C3 can never be the second byte of a sequence.
#include "FuzzCheck.h"
#include "textutil/CharacterReferences.h"

namespace {

const char16_t twenty[] = u"áÁéÉõÕúÚóÓüÜöÖíÍÎîÂâ";

QByteArray reference(const QByteArray &in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (uchar(in[i]) == 0xC3 && i + 1 < in.size()) {
            const char16_t code = char16_t(0xC0 + (uchar(in[i + 1]) & 0x3F));
            if ((uchar(in[i + 1]) & 0xC0) == 0x80 && std::char_traits<char16_t>::find(twenty, 20, code)) {
                out += "&#" + QByteArray::number(int(code)) + ';';
                ++i;
                continue;
            }
        }
        out += in[i];
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray out = kestrin::ReplaceSpecialCharacters(input);
    for (int i = 0; i < 20; ++i) {
        const QByteArray utf8 = QString(QChar(twenty[i])).toUtf8();
        KESTRIN_FUZZ_CHECK(!out.contains(utf8), input, out);
    }
    KESTRIN_FUZZ_CHECK(out == reference(input), input, out);
    // A second rewrite finds nothing left to do.
    KESTRIN_FUZZ_CHECK(kestrin::ReplaceSpecialCharacters(out) == out, input, out);
    return 0;
}
