#include "HeapPolicy.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace kestrin {

namespace {
// Up to this much freed memory stays in the heap for reuse.
constexpr size_t kHeapKeptBlock = 512u * 1024 * 1024;
} // namespace

// A fresh 50 MB block cost some 12,800 page faults, which on a virtual machine took longer than
// the work done in it. The heap is grown by that much and the new range marked for huge pages;
// freed at once, it stays in the heap untouched (no memory used) for the allocations that follow.
void prepareHeap(size_t bytes)
{
#if defined(__GLIBC__) && defined(Q_OS_LINUX)
    constexpr uintptr_t huge = 2u * 1024 * 1024;
    bytes = std::min(bytes, kHeapKeptBlock / 2);
    if (bytes < 4 * huge)
        return;
    void *p = std::malloc(bytes);
    if (!p)
        return;
    const uintptr_t from = (uintptr_t(p) + huge - 1) & ~(huge - 1);
    const uintptr_t to = (uintptr_t(p) + bytes) & ~(huge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
    std::free(p);
#else
    Q_UNUSED(bytes);
#endif
}

// By default glibc maps each large block afresh and unmaps it when freed, so every one pays a page
// fault per 4 KB again: on a 50 MB document that fault cost was most of the time of a load or a
// whole-document command. Kept in the heap, freed blocks are reused by the next command without
// faulting.
void keepFreedBlocksInHeap()
{
#ifdef __GLIBC__
    static const bool kept = [] {
        // glibc caps the mapping threshold at 32 MB, so large blocks are kept in the heap by
        // not mapping blocks at all; the heap still falls back to a mapping when it cannot grow.
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, int(kHeapKeptBlock));
        return true;
    }();
    Q_UNUSED(kept);
#endif
}

} // namespace kestrin
