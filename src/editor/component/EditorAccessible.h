#pragma once
// The editor's accessible: its name and role, like any editable field. QScintilla's own
// accessible answers every caret move by counting the characters from the start of the document
// to the caret (a character at a time): on a 50 MB file a quarter of a second per keystroke,
// whenever an assistive-technology bridge is running.

namespace kestrin {

// Installs the factory once; call after the first QScintilla widget exists, since the factory
// installed last is asked first.
void installEditorAccessible();

} // namespace kestrin
