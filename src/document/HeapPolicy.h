#pragma once
// How the process's heap treats the document-sized blocks of whole-document work (a file read, a
// command's result, Scintilla's buffers and undo copies). Set once at start-up. No widget.
#include <cstddef>

namespace kestrin {

// Keeps freed large blocks in the heap for reuse instead of giving them back to the system, so
// the next whole-document command does not fault every page in again. Call once, from main,
// before the first document is read; later calls do nothing.
void keepFreedBlocksInHeap();

// Lets the next `bytes` of large allocations fault in 2 MB pages instead of 4 KB ones.
void prepareHeap(size_t bytes);

} // namespace kestrin
