// HexToColor on any text never leaves the 24 colour bits, reads UTF-8 bytes as it reads the same
// text, and inverts ColorToHex for every colour value.
#include "FuzzCheck.h"
#include "colour/ColourText.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    const quint32 fromText = kestrin::HexToColor(text);
    KESTRIN_FUZZ_CHECK(fromText <= 0xFFFFFFu, bytes, QByteArray::number(fromText));
    KESTRIN_FUZZ_CHECK(kestrin::HexToColor(bytes) == fromText, bytes, QByteArray::number(kestrin::HexToColor(bytes)));
    // One "#" is optional: with and without it the same value.
    if (!text.startsWith(QLatin1Char('#')))
        KESTRIN_FUZZ_CHECK(kestrin::HexToColor(QLatin1Char('#') + text) == fromText, bytes, QByteArray::number(fromText));

    if (size >= 4) {
        quint32 raw;
        std::memcpy(&raw, data, 4);
        const quint32 v = raw & 0xFFFFFFu;
        const QString hex = kestrin::ColorToHex(v);
        KESTRIN_FUZZ_CHECK(hex.size() == 6, QByteArray::number(v), hex);
        KESTRIN_FUZZ_CHECK(kestrin::HexToColor(QLatin1Char('#') + hex) == v, QByteArray::number(v), hex);
        KESTRIN_FUZZ_CHECK(kestrin::HexToColor(hex) == v, QByteArray::number(v), hex);
        // RRGGBB: red, the low byte, comes first.
        const QString expected = QString::asprintf("%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, v >> 16);
        KESTRIN_FUZZ_CHECK(hex == expected, QByteArray::number(v), hex);
        // Values beyond 24 bits still give six digits (or the swapped eight-digit text's six).
        const QString wide = kestrin::ColorToHex(qint64(qint32(raw)));
        KESTRIN_FUZZ_CHECK(wide.size() == 6, QByteArray::number(raw), wide);
    }
    return 0;
}
