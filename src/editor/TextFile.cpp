#include "TextFile.h"

#include "CodeEdit.h"

namespace kestrin {

LineEnd platformLineEnd()
{
#ifdef Q_OS_WIN
    return LineEnd::CRLF;
#else
    return LineEnd::LF;
#endif
}

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

// Interim: UTF-8 only; the full detection replaces this.
DecodeResult decodeText(const QByteArray &fileBytes)
{
    DecodeResult r;
    r.ok = true;
    r.utf8 = fileBytes;
    r.format.lineEnd = platformLineEnd();
    return r;
}

EncodeResult encodeText(const QByteArray &utf8, const TextFormat &)
{
    EncodeResult r;
    r.ok = true;
    r.bytes = utf8;
    return r;
}

} // namespace kestrin
