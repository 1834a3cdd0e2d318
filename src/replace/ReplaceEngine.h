#pragma once
// The text steps of the multi-file runs, on UTF-8 byte strings. No widget, no file: the runs'
// documents load and save; these only compute the new text.
#include <QByteArray>

namespace kestrin {

// Every occurrence of find replaced by replacement: exact, case-sensitive, scanned left to right,
// resuming just behind each match (so 'a' -> 'aa' over "aaa" gives "aaaaaa"). An empty find
// leaves the text unchanged; an empty replacement deletes the occurrences. Line ends are
// ordinary bytes here. When nothing matches, the result shares text's storage.
QByteArray replaceAll(const QByteArray &text, const QByteArray &find, const QByteArray &replacement);

// The number of non-overlapping occurrences replaceAll would replace.
qsizetype countOccurrences(const QByteArray &text, const QByteArray &find);

// The add-text step: old text, line break, added text (atEnd) or added text, line break, old
// text. The break goes in even when added is empty or the old text already has one at that end.
QByteArray addLine(const QByteArray &text, const QByteArray &added, bool atEnd, const QByteArray &lineBreak);

} // namespace kestrin
