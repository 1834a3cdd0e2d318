// AddressToLink on any selection: the result is exactly one of the three link forms, with the
// selection whole (nothing trimmed) in the href and as the link text.
#include "FuzzCheck.h"
#include "textutil/TextTransforms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray s(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray out = kestrin::AddressToLink(s);
    const QByteArray tail = "'>" + s + "</a>";
    const QByteArray mailto = "<a href='mailto:" + s + tail;
    const QByteArray plain = "<a href='" + s + tail;
    const QByteArray http = "<a href='http://" + s + tail;
    KESTRIN_FUZZ_CHECK(out == mailto || out == plain || out == http, s, out);
    KESTRIN_FUZZ_CHECK(out.contains(s), s, out);
    // Which form: any "@" anywhere wins; then "http" in any case at the start.
    const bool startsHttp = s.left(4).toLower() == "http";
    const QByteArray &expected = s.contains('@') ? mailto : startsHttp ? plain : http;
    KESTRIN_FUZZ_CHECK(out == expected, s, out);
    return 0;
}
