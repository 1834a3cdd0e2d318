#include "TextFile.h"

#include "LineEnd.h"
#include "textutil/Utf8.h"

#include <QCoreApplication>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace kestrin {

QString encodingName(TextFormat::Encoding encoding)
{
    switch (encoding) {
    case TextFormat::Encoding::Utf8: return QStringLiteral("UTF-8");
    case TextFormat::Encoding::Utf8Bom: return QStringLiteral("UTF-8 BOM");
    case TextFormat::Encoding::Utf16LE: return QStringLiteral("UTF-16LE");
    case TextFormat::Encoding::Utf16BE: return QStringLiteral("UTF-16BE");
    case TextFormat::Encoding::Windows1252: return QStringLiteral("Windows-1252");
    }
    return QString();
}

namespace {

using u8 = unsigned char;

// Translated when a failure hands them on.
struct Message {
    const char *text;
    operator QString() const { return QCoreApplication::translate("TextFile", text); }
};
constexpr Message kNotText{QT_TRANSLATE_NOOP("TextFile", "The file is not a text file (it contains NUL bytes).")};
constexpr Message kUnpaired{QT_TRANSLATE_NOOP("TextFile", "The UTF-16 text contains an unpaired surrogate.")};
constexpr Message kNoMemory{QT_TRANSLATE_NOOP("TextFile", "There is not enough memory to open the file.")};

constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr uint64_t kLowBits = 0x0101010101010101ull;

// The 32 characters Windows-1252 puts at 0x80..0x9F. The five bytes it leaves undefined (81 8D 8F
// 90 9D) map to the C1 control of the same number, so every byte has a character and comes back.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

// The Windows-1252 byte of a character above ASCII; -1 when the encoding has none.
int cp1252Byte(uint32_t cp)
{
    if (cp >= 0xA0 && cp <= 0xFF)
        return int(cp);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == cp)
            return 0x80 + i;
    }
    return -1;
}

inline char *putUtf8(char *out, uint32_t cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
    return out;
}

// Decodes one UTF-8 sequence at p (p < end, *p >= 0x80). Returns its length, 0 when the bytes are
// not well-formed UTF-8 (overlong forms, surrogates and values above U+10FFFF included).
inline int utf8Sequence(const u8 *p, const u8 *end, uint32_t &cp)
{
    const u8 b0 = p[0];
    const ptrdiff_t left = end - p;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !utf8::isContinuation(p[1]))
            return 0;
        cp = (uint32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !utf8::isContinuation(p[1]) || !utf8::isContinuation(p[2]))
            return 0;
        if ((b0 == 0xE0 && p[1] < 0xA0) || (b0 == 0xED && p[1] >= 0xA0))
            return 0; // overlong, or a UTF-16 surrogate
        cp = (uint32_t(b0 & 0x0F) << 12) | (uint32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !utf8::isContinuation(p[1]) || !utf8::isContinuation(p[2]) || !utf8::isContinuation(p[3]))
            return 0;
        if ((b0 == 0xF0 && p[1] < 0x90) || (b0 == 0xF4 && p[1] >= 0x90))
            return 0; // overlong, or beyond U+10FFFF
        cp = (uint32_t(b0 & 0x07) << 18) | (uint32_t(p[1] & 0x3F) << 12) | (uint32_t(p[2] & 0x3F) << 6)
             | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

enum class Scan { Utf8, NotUtf8, HasNul };

// One pass over the bytes: eight ASCII bytes at a time while there is no high bit and no NUL.
// A NUL anywhere means "not text", so after invalid UTF-8 the rest is only searched for one.
// Up to this many bytes of room, decoding allocates the worst case instead of counting first.
constexpr qsizetype kCountAbove = 4 * 1024 * 1024;

// Copies the plain ASCII at p (eight bytes at a time while whole words are ASCII) to o, and
// advances both past it; stops at the first byte with the high bit set, or at end.
inline void copyAscii(const u8 *&p, const u8 *end, char *&o)
{
    while (end - p >= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        if (w & kHighBits)
            break;
        std::memcpy(o, p, 8);
        p += 8;
        o += 8;
    }
    while (p < end && *p < 0x80)
        *o++ = char(*p++);
}

// Bytes that need a look of their own in an 8-byte word: a high bit or a zero byte. The first
// flagged byte is always a true one (a borrow only flags bytes after a zero).
inline uint64_t specialBytes(uint64_t w) { return (w & kHighBits) | ((w - kLowBits) & ~w & kHighBits); }

// Kept out of line: inlined into the streaming loop, its registers spilled and it ran 6 % more instructions.
[[gnu::noinline]] Scan scanUtf8(const u8 *p, const u8 *end)
{
    while (p < end) {
        if (end - p >= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            const uint64_t special = specialBytes(w);
            if (special == 0) {
                p += 8;
                continue;
            }
            // Straight to the first byte that is not plain ASCII: accented text has one every
            // few bytes, and stepping a byte at a time to it halved the speed.
            if constexpr (std::endian::native == std::endian::little)
                p += std::countr_zero(special) / 8;
        }
        const u8 b = *p;
        if (b == 0)
            return Scan::HasNul;
        if (b < 0x80) {
            ++p;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF && end - p >= 2 && utf8::isContinuation(p[1])) {
            p += 2; // the common two-byte letter, without decoding it
            continue;
        }
        uint32_t cp;
        const int n = utf8Sequence(p, end, cp);
        if (n == 0)
            return std::memchr(p, 0, size_t(end - p)) ? Scan::HasNul : Scan::NotUtf8;
        p += n;
    }
    return Scan::Utf8;
}

// The style of the first line end in UTF-8 (or any ASCII-compatible) text.
bool firstLineEnd(const char *p, qsizetype n, LineEnd &style)
{
    const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(n)));
    const qsizetype crLimit = lf ? lf - p : n;
    const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(crLimit)));
    if (cr) {
        style = (cr + 1 < p + n && cr[1] == '\n') ? LineEnd::CRLF : LineEnd::CR;
        return true;
    }
    if (lf) {
        style = LineEnd::LF;
        return true;
    }
    return false;
}

// How many more bytes p .. end takes as UTF-8 than as Windows-1252.
qsizetype cp1252Growth(const u8 *p, const u8 *end)
{
    qsizetype extra = 0;
    for (const u8 *q = p; q < end; ++q) {
        uint64_t w;
        if (end - q >= 8 && (std::memcpy(&w, q, 8), (w & kHighBits) == 0)) {
            q += 7; // eight ASCII bytes, no extra room
            continue;
        }
        extra += *q >= 0x80 ? (*q < 0xA0 && kCp1252High[*q - 0x80] >= 0x800 ? 2 : 1) : 0;
    }
    return extra;
}

QByteArray decodeCp1252(const u8 *p, const u8 *end)
{
    // Each byte becomes at most three. Small files get that room at once; large ones are
    // counted first, so a 50 MB file does not take 150 MB.
    qsizetype room = qsizetype(end - p) * 3;
    if (room > kCountAbove)
        room = qsizetype(end - p) + cp1252Growth(p, end);
    QByteArray out(room, Qt::Uninitialized);
    char *o = out.data();
    while (p < end) {
        copyAscii(p, end, o);
        if (p == end)
            break;
        const u8 b = *p++;
        o = putUtf8(o, b < 0xA0 ? kCp1252High[b - 0x80] : b);
    }
    out.truncate(o - out.constData());
    return out;
}

// UTF-16 to UTF-8. Fails (with the reason in error) on a lone surrogate or U+0000: either would
// be lost or would turn the document into something that is no longer text.
bool decodeUtf16(const u8 *p, const u8 *end, bool bigEndian, QByteArray &out, QString &error)
{
    out = QByteArray(qsizetype(end - p) / 2 * 3, Qt::Uninitialized);
    char *o = out.data();
    const int hi = bigEndian ? 0 : 1;
    const int lo = bigEndian ? 1 : 0;
    for (; p < end; p += 2) {
        uint32_t u = (uint32_t(p[hi]) << 8) | p[lo];
        if (u == 0) {
            error = QCoreApplication::translate("TextFile", "The file is not a text file (it contains a NUL character).");
            return false;
        }
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (end - p < 4) {
                error = QCoreApplication::translate("TextFile", "The UTF-16 text ends in the middle of a character.");
                return false;
            }
            const uint32_t u2 = (uint32_t(p[2 + hi]) << 8) | p[2 + lo];
            if (u2 < 0xDC00 || u2 > 0xDFFF) {
                error = kUnpaired;
                return false;
            }
            u = 0x10000 + ((u - 0xD800) << 10) + (u2 - 0xDC00);
            p += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            error = kUnpaired;
            return false;
        }
        o = putUtf8(o, u);
    }
    out.truncate(o - out.constData());
    return true;
}

int lineNumberAt(const u8 *begin, const u8 *at)
{
    int line = 1;
    for (const u8 *q = begin; q < at; ++q) {
        if (*q == '\n')
            ++line;
        else if (*q == '\r' && !(q + 1 < at && q[1] == '\n'))
            ++line;
    }
    return line;
}

// A text that starts with a UTF-16 byte-order mark, decoded whole.
DecodeResult decodeUtf16Text(const char *text, qsizetype n)
{
    DecodeResult r;
    const u8 *begin = reinterpret_cast<const u8 *>(text);
    const bool be = begin[0] == 0xFE;
    if ((n & 1) != 0) {
        r.error = QCoreApplication::translate("TextFile", "The UTF-16 file has an odd number of bytes; its last character is incomplete.");
        return r;
    }
    if (!decodeUtf16(begin + 2, begin + n, be, r.utf8, r.error))
        return r;
    r.format.encoding = be ? TextFormat::Encoding::Utf16BE : TextFormat::Encoding::Utf16LE;
    r.format.hadLineEnd = firstLineEnd(r.utf8.constData(), r.utf8.size(), r.format.lineEnd);
    r.ok = true;
    return r;
}

} // namespace

QString describeCharacter(char32_t cp)
{
    const QString hex = QStringLiteral("U+%1").arg(uint(cp), 4, 16, QLatin1Char('0')).toUpper();
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0))
        return hex;
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&cp, 1), hex);
}

namespace {

// Reads until max bytes or the end: a piece is short only at the end of the file.
qsizetype readFull(TextSource &source, char *to, qsizetype max)
{
    qsizetype got = 0;
    while (got < max) {
        const qsizetype n = source.read(to + got, max - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

// Where p .. end stops short of a UTF-8 sequence that the next piece completes.
const u8 *completeUpTo(const u8 *p, const u8 *end)
{
    for (int k = 1; k <= 3 && end - k >= p; ++k) {
        const u8 c = end[-k];
        if (utf8::isContinuation(c))
            continue;
        const int need = utf8::sequenceLength(c);
        return need > k ? end - k : end;
    }
    return end;
}

// The first line end of a text seen piece by piece; a CR at the end of one piece waits for the next.
struct FirstLineEnd {
    bool found = false, pendingCr = false;
    LineEnd style = LineEnd::LF;
    void see(const char *p, qsizetype n)
    {
        if (found || n == 0)
            return;
        if (pendingCr) {
            style = p[0] == '\n' ? LineEnd::CRLF : LineEnd::CR;
            found = true;
        } else if (firstLineEnd(p, n, style)) {
            pendingCr = style == LineEnd::CR && std::memchr(p, '\r', size_t(n)) == p + n - 1;
            found = !pendingCr;
        }
    }
};

} // namespace

bool streamText(TextSource &source, TextSink &sink, qsizetype chunk, TextFormat *format, QString *error)
{
    const auto fail = [error](const QString &why) {
        *error = why;
        return false;
    };
    // A source in memory is one piece, read in place.
    const char *const memory = source.memory();
    chunk = memory ? source.size() + 1 : std::max<qsizetype>(chunk, 4);
    QByteArray buffer(memory ? 0 : chunk + 3, Qt::Uninitialized); // + an incomplete UTF-8 sequence carried over
    char *const buf = buffer.data();
    for (bool legacy = false;; legacy = true) { // a second round for text that is not UTF-8
        qsizetype room = source.size();
        if (legacy && !memory) { // counted first, so the text is given its room once (in memory, as it is decoded)
            qsizetype got;
            if (!source.rewind())
                return fail(source.error());
            while ((got = readFull(source, buf, chunk)) > 0) {
                const u8 *b = reinterpret_cast<const u8 *>(buf);
                if (std::memchr(b, 0, size_t(got)))
                    return fail(kNotText);
                room += cp1252Growth(b, b + got);
            }
            if (got < 0 || !source.rewind())
                return fail(source.error());
        }
        if (!sink.begin(room))
            return fail(kNoMemory);
        format->encoding = legacy ? TextFormat::Encoding::Windows1252 : TextFormat::Encoding::Utf8;
        FirstLineEnd ends;
        qsizetype carry = 0;
        bool first = true, notUtf8 = false;
        for (bool atEnd = false; !atEnd;) {
            const qsizetype got = memory ? source.size() : readFull(source, buf + carry, chunk);
            if (got < 0)
                return fail(source.error());
            atEnd = got < chunk;
            const u8 *b = reinterpret_cast<const u8 *>(memory ? memory : buf);
            const u8 *e = b + carry + got;
            if (std::exchange(first, false)) {
                if (e - b >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
                    // UTF-16 is decoded whole.
                    QByteArray whole(reinterpret_cast<const char *>(b), e - b);
                    for (qsizetype n; !atEnd && (n = readFull(source, buf, chunk)) != 0;) {
                        if (n < 0)
                            return fail(source.error());
                        whole.append(buf, n);
                    }
                    const DecodeResult r = decodeUtf16Text(whole.constData(), whole.size());
                    if (!r.ok)
                        return fail(r.error);
                    if (!sink.begin(r.utf8.size()) || !sink.append(r.utf8.constData(), r.utf8.size()))
                        return fail(kNoMemory);
                    *format = r.format;
                    return true;
                }
                if (!legacy && e - b >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
                    format->encoding = TextFormat::Encoding::Utf8Bom;
                    b += 3;
                }
            }
            QByteArray decoded;
            const char *text = reinterpret_cast<const char *>(b);
            qsizetype n = e - b;
            carry = 0;
            if (legacy) {
                if (std::memchr(b, 0, size_t(n)))
                    return fail(kNotText);
                decoded = decodeCp1252(b, e);
                text = decoded.constData();
                n = decoded.size();
            } else {
                const u8 *cut = atEnd ? e : completeUpTo(b, e);
                const Scan scan = scanUtf8(b, cut);
                if (scan == Scan::HasNul)
                    return fail(kNotText);
                if (scan == Scan::NotUtf8) {
                    notUtf8 = true;
                    break;
                }
                n = cut - b;
                carry = e - cut;
            }
            ends.see(text, n);
            if (n > 0 && !sink.append(text, n))
                return fail(kNoMemory);
            std::memmove(buf, reinterpret_cast<const char *>(e) - carry, size_t(carry));
        }
        if (notUtf8)
            continue;
        format->hadLineEnd = ends.found || ends.pendingCr;
        format->lineEnd = format->hadLineEnd ? ends.style : platformLineEnd();
        return true;
    }
}

DecodeResult decodeText(const QByteArray &fileBytes)
{
    // Read as a file is, in one piece and in place.
    struct : TextSource {
        const QByteArray *bytes;
        qsizetype read(char *, qsizetype) override { return 0; }
        bool rewind() override { return true; }
        QString error() const override { return QString(); }
        qsizetype size() const override { return bytes->size(); }
        const char *memory() const override { return bytes->constData(); }
    } source;
    struct : TextSink {
        const QByteArray *bytes;
        QByteArray text;
        bool begin(qsizetype) override { return text.clear(), true; }
        bool append(const char *p, qsizetype n) override
        {
            // The file's own bytes shared, not copied: the common case, UTF-8 without a BOM.
            text = text.isEmpty() && p == bytes->constData() && n == bytes->size() ? *bytes : text.append(p, n);
            return true;
        }
    } sink;
    source.bytes = sink.bytes = &fileBytes;
    DecodeResult r;
    r.ok = streamText(source, sink, 0, &r.format, &r.error);
    r.utf8 = r.ok ? std::move(sink.text) : QByteArray();
    return r;
}

// A character the target encoding cannot hold is never dropped or replaced: the save fails and
// the reason names the character and its line, so the user can change the text or save as UTF-8
// (setEncodingName). Text that is not valid UTF-8 fails the same way for UTF-16.
EncodeResult encodeText(const QByteArray &utf8, const TextFormat &format)
{
    EncodeResult r;
    const u8 *begin = reinterpret_cast<const u8 *>(utf8.constData());
    const u8 *end = begin + utf8.size();
    using E = TextFormat::Encoding;

    if (format.encoding == E::Utf8) {
        r.bytes = utf8;
        r.ok = true;
        return r;
    }
    if (format.encoding == E::Utf8Bom) {
        r.bytes.reserve(utf8.size() + 3);
        r.bytes.append("\xEF\xBB\xBF", 3);
        r.bytes.append(utf8);
        r.ok = true;
        return r;
    }

    auto invalidAt = [&](const u8 *p) {
        r.error = QCoreApplication::translate("TextFile", "Line %1 contains bytes that are not valid UTF-8 text.").arg(lineNumberAt(begin, p));
    };

    if (format.encoding == E::Windows1252) {
        r.bytes = QByteArray(utf8.size(), Qt::Uninitialized);
        char *o = r.bytes.data();
        for (const u8 *p = begin; p < end;) {
            copyAscii(p, end, o);
            if (p == end)
                break;
            uint32_t cp = 0;
            const int len = utf8Sequence(p, end, cp);
            if (len == 0) {
                invalidAt(p);
                r.bytes.clear();
                return r;
            }
            const int byte = cp1252Byte(cp);
            if (byte < 0) {
                r.error = QCoreApplication::translate("TextFile", "The character %1 on line %2 cannot be written in Windows-1252, "
                                                             "the encoding of this file.")
                              .arg(describeCharacter(cp))
                              .arg(lineNumberAt(begin, p));
                r.bytes.clear();
                return r;
            }
            *o++ = char(byte);
            p += len;
        }
        r.bytes.truncate(o - r.bytes.constData());
        r.ok = true;
        return r;
    }

    const bool be = format.encoding == E::Utf16BE;
    r.bytes = QByteArray(2 + utf8.size() * 2, Qt::Uninitialized);
    char *o = r.bytes.data();
    auto put16 = [&](uint32_t u) {
        *o++ = char(be ? (u >> 8) : (u & 0xFF));
        *o++ = char(be ? (u & 0xFF) : (u >> 8));
    };
    put16(0xFEFF);
    for (const u8 *p = begin; p < end;) {
        uint32_t cp = *p;
        int len = 1;
        if (cp >= 0x80) {
            len = utf8Sequence(p, end, cp);
            if (len == 0) {
                invalidAt(p);
                r.bytes.clear();
                return r;
            }
        }
        if (cp >= 0x10000) {
            put16(0xD800 + ((cp - 0x10000) >> 10));
            put16(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put16(cp);
        }
        p += len;
    }
    r.bytes.truncate(o - r.bytes.constData());
    r.ok = true;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Characters the file's encoding cannot hold

namespace {

// Appends the escape of cp in style at o (room for 12 bytes); returns the new end.
char *putEscape(char *o, uint32_t cp, EscapeStyle style)
{
    static const char digits[] = "0123456789ABCDEF";
    char tmp[8];
    int n = 0;
    switch (style) {
    case EscapeStyle::CharacterReference:
        *o++ = '&';
        *o++ = '#';
        do {
            tmp[n++] = char('0' + cp % 10);
            cp /= 10;
        } while (cp);
        while (n)
            *o++ = tmp[--n];
        *o++ = ';';
        return o;
    case EscapeStyle::CssEscape:
    case EscapeStyle::JsEscape:
        do {
            tmp[n++] = digits[cp & 0xF];
            cp >>= 4;
        } while (cp);
        *o++ = '\\';
        if (style == EscapeStyle::JsEscape) {
            *o++ = 'u';
            if (n > 4)
                *o++ = '{';
            for (int pad = n; pad < 4; ++pad)
                *o++ = '0';
        }
        for (int i = n; i > 0; --i)
            *o++ = tmp[i - 1];
        if (style == EscapeStyle::CssEscape)
            *o++ = ' '; // ends the escape, and is taken with it
        else if (n > 4)
            *o++ = '}';
        return o;
    }
    return o;
}

// Calls found(p, length, cp) for each well-formed character encoding cannot hold (only Windows-1252
// lacks any); plain ASCII is skipped eight bytes at a time. Bytes that are not UTF-8 are passed
// over: the encoder reports them.
template <typename Found>
void forEachUnencodable(const QByteArray &utf8, TextFormat::Encoding encoding, Found found)
{
    if (holdsEveryCharacter(encoding))
        return;
    const u8 *p = reinterpret_cast<const u8 *>(utf8.constData());
    const u8 *end = p + utf8.size();
    while (p < end) {
        while (end - p >= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            if (w & kHighBits)
                break;
            p += 8;
        }
        if (p == end)
            break;
        if (*p < 0x80) {
            ++p;
            continue;
        }
        uint32_t cp = 0;
        const int len = utf8Sequence(p, end, cp);
        if (len == 0) {
            ++p;
            continue;
        }
        if (cp1252Byte(cp) < 0)
            found(p, len, cp);
        p += len;
    }
}

} // namespace

EscapeStyle escapeStyleFor(const QString &path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    if (name.endsWith(QLatin1String(".css"), Qt::CaseInsensitive))
        return EscapeStyle::CssEscape;
    if (name.endsWith(QLatin1String(".js"), Qt::CaseInsensitive))
        return EscapeStyle::JsEscape;
    return EscapeStyle::CharacterReference;
}

Unencodable findUnencodable(const QByteArray &utf8, TextFormat::Encoding encoding, EscapeStyle style)
{
    Unencodable r;
    const u8 *begin = reinterpret_cast<const u8 *>(utf8.constData());
    const u8 *firstAt = nullptr;
    forEachUnencodable(utf8, encoding, [&](const u8 *p, int len, uint32_t cp) {
        if (r.count++ == 0) {
            r.first = cp;
            firstAt = p;
        }
        char room[16];
        r.growth += (putEscape(room, cp, style) - room) - len;
    });
    if (firstAt)
        r.line = lineNumberAt(begin, firstAt);
    return r;
}

QByteArray escapeUnencodable(const QByteArray &utf8, TextFormat::Encoding encoding, EscapeStyle style)
{
    QByteArray out;
    const char *copied = utf8.constData(); // the input up to here is in out
    forEachUnencodable(utf8, encoding, [&](const u8 *p, int len, uint32_t cp) {
        const char *at = reinterpret_cast<const char *>(p);
        if (out.isNull())
            out.reserve(utf8.size() + 256); // such characters are few: room for some at once
        out.append(copied, at - copied);
        char room[16];
        out.append(room, putEscape(room, cp, style) - room);
        copied = at + len;
    });
    if (out.isNull())
        return utf8;
    out.append(copied, utf8.constData() + utf8.size() - copied);
    return out;
}

} // namespace kestrin
