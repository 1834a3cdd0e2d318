#pragma once
// What the micro-benchmarks share: a document built by repeating a block, and a heap that keeps
// freed document-sized blocks.
#include "app/ProcessPolicy.h"

#include <QByteArray>

namespace kestrin::bench {

constexpr qsizetype DocumentBytes = 50 * 1024 * 1024;

// Whole copies of block up to bytes, so a UTF-8 block stays valid UTF-8.
inline QByteArray repeated(const QByteArray &block, qsizetype bytes = DocumentBytes)
{
    QByteArray out;
    out.reserve(bytes + block.size());
    while (out.size() + block.size() <= bytes)
        out += block;
    return out;
}

// Every transform returns a fresh 50 MB array; kept in the heap, as the program keeps them, it
// costs no page faults for the whole output each iteration. Call once before timing.
inline bool keepFreedBlocksInHeap()
{
    kestrin::applyHeapPolicy();
    return true;
}

} // namespace kestrin::bench
