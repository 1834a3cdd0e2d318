#pragma once
// Decoding a file's bytes into the component's UTF-8 text and encoding it back, so that open then
// save of any text file is byte-identical. Pure functions; no widget.
#include <QByteArray>
#include <QString>

#include "LineEnd.h"

namespace kestrin {

struct TextFormat {
    enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };
    Encoding encoding = Encoding::Utf8;
    LineEnd lineEnd = platformLineEnd(); // the style of the first line end; the platform's when there is none
    bool hadLineEnd = false;   // false: no line end in the file yet
};

struct DecodeResult {
    bool ok = false;
    QString error;             // why not, for a message box
    QByteArray utf8;           // the text, line ends exactly as in the file
    TextFormat format;
};

// Where streamText reads a file's bytes from.
struct TextSource {
    virtual ~TextSource() = default;
    // Up to max bytes into to; 0 at the end, -1 on an error (then error() says why).
    virtual qsizetype read(char *to, qsizetype max) = 0;
    // Back to the first byte, for a second pass.
    virtual bool rewind() = 0;
    virtual QString error() const = 0;
    // The bytes there are to read, as far as known (0 when not).
    virtual qsizetype size() const = 0;
    // The whole content in place, for a source that holds it in memory: read as one piece.
    virtual const char *memory() const { return nullptr; }
};
// Where streamText puts the UTF-8 text. Each call returns false when it cannot take it (memory).
struct TextSink {
    virtual ~TextSink() = default;
    // A new text of about `bytes` bytes starts; whatever was appended before is dropped.
    virtual bool begin(qsizetype bytes) = 0;
    virtual bool append(const char *utf8, qsizetype n) = 0;
};
// Detects the encoding (BOM for UTF-8 and UTF-16; else valid UTF-8; else Windows-1252) and the
// line-end style of a file read piece by piece (chunk bytes at a time), its text handed to sink as
// it is decoded, so a large file is never held whole. Text that turns out not to be UTF-8 is read
// again from the start as Windows-1252. NUL bytes outside UTF-16 mean "not text".
bool streamText(TextSource &source, TextSink &sink, qsizetype chunk, TextFormat *format, QString *error);
// streamText for a file's bytes in memory, in one pass where it can; UTF-8 comes back shared.
DecodeResult decodeText(const QByteArray &fileBytes);

struct EncodeResult {
    bool ok = false;
    QString error;             // e.g. a character Windows-1252 cannot hold
    QByteArray bytes;
};
// Encodes UTF-8 text back into the format it was loaded with (BOM included).
EncodeResult encodeText(const QByteArray &utf8, const TextFormat &format);

QString encodingName(TextFormat::Encoding encoding);

// A character as messages name it: "ā" (U+0101); a control character by its code alone.
QString describeCharacter(char32_t codePoint);

// How a character the file's encoding cannot hold can be written instead, in the document's own
// language, so the file keeps its encoding.
enum class EscapeStyle {
    CharacterReference, // HTML, PHP, templates: &#257; (decimal, one per code point)
    CssEscape,          // \101 and a space
    JsEscape,           // \u0101; \u{1F600} above U+FFFF
};
// The style for a document of that path: its extension decides (.css, .js; anything else
// takes character references).
EscapeStyle escapeStyleFor(const QString &path);

struct Unencodable {
    qsizetype count = 0;   // characters the encoding cannot hold
    char32_t first = 0;    // the first of them
    int line = 0;          // its 1-based line
    qsizetype growth = 0;  // how many bytes longer escapeUnencodable makes the text
};
// UTF-8 and UTF-16 hold every character; Windows-1252 does not.
inline bool holdsEveryCharacter(TextFormat::Encoding encoding) { return encoding != TextFormat::Encoding::Windows1252; }
// The characters of utf8 that encoding cannot hold.
Unencodable findUnencodable(const QByteArray &utf8, TextFormat::Encoding encoding, EscapeStyle style);
// utf8 with each of those characters written in style; utf8 itself (shared) when there is none.
QByteArray escapeUnencodable(const QByteArray &utf8, TextFormat::Encoding encoding, EscapeStyle style);

} // namespace kestrin
