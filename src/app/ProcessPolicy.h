#pragma once
// What the process as a whole is set to, once, by the start-up routine (Main) before Qt starts:
// how the heap treats the document-sized blocks of whole-document work (a file read, a command's
// result, Scintilla's buffers and undo copies, a half-read text dropped for a second reading), and
// the read-ahead of the document named on the command line. Nothing below the start-up routine
// changes process state. No widget.
#include <QString>

namespace kestrin {

// Keeps freed large blocks in the heap for reuse instead of giving them back to the system, and
// lets the heap's room for them fault in 2 MB pages instead of 4 KB ones; a loader's half-read
// text (TextStore::droppedText) goes back to the system at once. Call once, from main, before the
// first document is read; later calls do nothing.
void applyHeapPolicy();

// Asks the system to start reading path into its cache, for the load that follows.
void prefetchDocument(const QString &path);

} // namespace kestrin
