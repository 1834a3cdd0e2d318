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

// Detects the encoding (BOM for UTF-8 and UTF-16; else valid UTF-8; else Windows-1252) and the
// line-end style, in one pass where it can. NUL bytes outside UTF-16 mean "not text".
DecodeResult decodeText(const QByteArray &fileBytes);

struct EncodeResult {
    bool ok = false;
    QString error;             // e.g. a character Windows-1252 cannot hold
    QByteArray bytes;
};
// Encodes UTF-8 text back into the format it was loaded with (BOM included).
EncodeResult encodeText(const QByteArray &utf8, const TextFormat &format);

QString encodingName(TextFormat::Encoding encoding);

} // namespace kestrin
