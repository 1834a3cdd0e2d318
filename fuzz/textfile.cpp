// Loading and saving any file's bytes: every input that decodes is written back byte for byte,
// the decoded text is valid UTF-8 with the file's line ends, and line-end conversion gives one
// style only and is stable.
#include "FuzzCheck.h"
#include "document/TextFile.h"


namespace {

bool validUtf8(const QByteArray &text)
{
    // Every invalid byte would come back as U+FFFD, so only valid UTF-8 survives the round trip
    // (behind a first character, so that a leading U+FEFF is not taken for a byte-order mark).
    const QByteArray probe = 'x' + text;
    return QString::fromUtf8(probe).toUtf8() == probe;
}

// The style of the first line end, if any.
std::optional<kestrin::LineEnd> firstLineEnd(const QByteArray &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            return kestrin::LineEnd::LF;
        if (text[i] == '\r')
            return i + 1 < text.size() && text[i + 1] == '\n' ? kestrin::LineEnd::CRLF : kestrin::LineEnd::CR;
    }
    return std::nullopt;
}

bool onlyStyle(const QByteArray &text, kestrin::LineEnd style)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool cr = text[i] == '\r';
        const bool lf = text[i] == '\n';
        const bool crlf = cr && i + 1 < text.size() && text[i + 1] == '\n';
        switch (style) {
        case kestrin::LineEnd::LF:
            if (cr)
                return false;
            break;
        case kestrin::LineEnd::CR:
            if (lf)
                return false;
            break;
        case kestrin::LineEnd::CRLF:
            if ((cr && !crlf) || (lf && (i == 0 || text[i - 1] != '\r')))
                return false;
            break;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const kestrin::DecodeResult decoded = kestrin::decodeText(file);
    if (decoded.ok) {
        KESTRIN_FUZZ_CHECK(validUtf8(decoded.utf8), file, decoded.utf8);
        const kestrin::EncodeResult encoded = kestrin::encodeText(decoded.utf8, decoded.format);
        KESTRIN_FUZZ_CHECK(encoded.ok, file, encoded.error);
        KESTRIN_FUZZ_CHECK(encoded.bytes == file, file, encoded.bytes);
        const auto first = firstLineEnd(decoded.utf8);
        KESTRIN_FUZZ_CHECK(decoded.format.hadLineEnd == first.has_value(), file, decoded.utf8);
        if (first)
            KESTRIN_FUZZ_CHECK(decoded.format.lineEnd == *first, file, decoded.utf8);
        // A file without UTF-16 byte-order mark that holds a NUL byte is not text.
        const bool utf16 = decoded.format.encoding == kestrin::TextFormat::Encoding::Utf16LE
                           || decoded.format.encoding == kestrin::TextFormat::Encoding::Utf16BE;
        KESTRIN_FUZZ_CHECK(utf16 || !file.contains('\0'), file, decoded.utf8);
    } else {
        KESTRIN_FUZZ_CHECK(!decoded.error.isEmpty(), file, QByteArray());
    }

    for (const auto style : {kestrin::LineEnd::CRLF, kestrin::LineEnd::LF, kestrin::LineEnd::CR}) {
        const QByteArray converted = kestrin::convertLineEnds(file, style);
        KESTRIN_FUZZ_CHECK(onlyStyle(converted, style), file, converted);
        KESTRIN_FUZZ_CHECK(kestrin::convertLineEnds(converted, style) == converted, file, converted);
        // Only line ends change: the rest of the bytes stay, in order.
        QByteArray a = file, b = converted;
        a.replace("\r", "").replace("\n", "");
        b.replace("\r", "").replace("\n", "");
        KESTRIN_FUZZ_CHECK(a == b, file, converted);
        // The number of line ends stays too.
        KESTRIN_FUZZ_CHECK(kestrin::convertLineEnds(file, kestrin::LineEnd::LF).count('\n')
                               == kestrin::convertLineEnds(converted, kestrin::LineEnd::LF).count('\n'),
                           file, converted);
    }
    // Text the editor holds (valid UTF-8) can always be saved as UTF-8, and loads back as itself
    // (unless it starts with the bytes of a byte-order mark, which then reads as one).
    if (validUtf8(file) && !file.contains('\0') && !file.startsWith("\xEF\xBB\xBF")) {
        kestrin::TextFormat utf8;
        utf8.encoding = kestrin::TextFormat::Encoding::Utf8;
        const kestrin::EncodeResult saved = kestrin::encodeText(file, utf8);
        KESTRIN_FUZZ_CHECK(saved.ok, file, saved.error);
        const kestrin::DecodeResult again = kestrin::decodeText(saved.bytes);
        KESTRIN_FUZZ_CHECK(again.ok && again.utf8 == file, file, again.utf8);
    }
    return 0;
}
