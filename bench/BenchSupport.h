#pragma once
// What the micro-benchmarks share: a document built by repeating a block, and a heap that keeps
// freed document-sized blocks.
#include <QByteArray>

#include <malloc.h>

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

// Every transform returns a fresh 50 MB array. By default glibc maps such blocks anew and unmaps
// them on free, so each iteration would pay page faults for the whole output, which on a
// virtualised machine cost more than the scan itself. Call once before timing.
inline bool keepFreedBlocksInHeap()
{
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}

} // namespace kestrin::bench
