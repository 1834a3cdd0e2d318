#pragma once
// Line-end styles, and the one conversion every text from outside the document goes through
// (the clipboard, the program's own CR LF texts), so a document never gets mixed line ends.
#include <QByteArray>

namespace kestrin {

enum class LineEnd { CRLF, LF, CR };

// LF on Linux and macOS, CR LF on Windows: the style of a new document or one without line ends.
LineEnd platformLineEnd();

// "\r\n", "\n" or "\r".
QByteArray lineBreakOf(LineEnd style);

// Rewrites every line end (CR LF, LF or CR, mixed as they come) into style; text with none comes
// back as it was, without a copy.
QByteArray convertLineEnds(const QByteArray &text, LineEnd style);

} // namespace kestrin
