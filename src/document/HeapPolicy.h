#pragma once
// How the process's heap treats the document-sized blocks of whole-document work (a file read, a
// command's result, Scintilla's buffers and undo copies). Set once at start-up. No widget.
#include <cstddef>

namespace kestrin {

// Keeps freed large blocks in the heap for reuse instead of giving them back to the system, so
// the next whole-document command does not fault every page in again. Call once, from main,
// before the first document is read; later calls do nothing.
void keepFreedBlocksInHeap();

// Starts faulting in `bytes` of heap on another thread, for a document about to be read: the next
// prepareHeap (or the end of the process) waits for it and frees the block into the heap.
void warmHeap(size_t bytes);

// Gives the free memory kept in the heap back to the system.
void releaseFreeHeap();

// Lets the next `bytes` of large allocations fault in 2 MB pages instead of 4 KB ones.
void prepareHeap(size_t bytes);

} // namespace kestrin
