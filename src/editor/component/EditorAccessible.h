#pragma once
// The editor's accessible: the document's text, caret and selection for screen readers, in the
// UTF-16 offsets Qt's bridges use. QScintilla's own accessible counts the characters from the start
// of the document to the caret on every caret move (a quarter of a second per keystroke on a
// 50 MB file); this one maps an offset to a position through Scintilla's per-line UTF-16 index, so
// every answer and every event costs the length of one line. The index is allocated the first
// time the accessible is used, that is, only while an assistive-technology bridge is active.
//
// A whole-document read is bounded: text(start, end) hands out at most MaxTextUnits units from
// start (a screen reader reads by line, word or character). A change reports its text in the
// insert and remove events when it is at most MaxEventBytes long; a larger one (a whole-document
// command) is reported by the caret and selection events alone.
#include <QtGlobal>

namespace kestrin {

inline constexpr int MaxTextUnits = 1 << 20;
inline constexpr qint64 MaxEventBytes = 1 << 20;

// Installs the factory once; call after the first QScintilla widget exists, since the factory
// installed last is asked first.
void installEditorAccessible();

} // namespace kestrin
