#include "ProcessPolicy.h"

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <thread>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestrin {

namespace {
// Up to this much freed memory stays in the heap for reuse.
constexpr size_t kHeapKeptBlock = 512u * 1024 * 1024;
constexpr uintptr_t kHugePage = 2u * 1024 * 1024;
// Room for the pieces read before the text and style buffers are allocated.
constexpr size_t kWarmSlack = 2u * 1024 * 1024;

// Heap being faulted in by another thread; released before the document's buffers are made.
struct Warming {
    void *block = nullptr;
    std::thread worker;
    ~Warming() { finish(); }
    void finish()
    {
        if (worker.joinable())
            worker.join();
        std::free(block);
        block = nullptr;
    }
};

Warming &warming()
{
    static Warming w;
    return w;
}

#if defined(__GLIBC__) && defined(Q_OS_LINUX)
void adviseHugePages(void *p, size_t bytes)
{
    const uintptr_t from = (uintptr_t(p) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t to = (uintptr_t(p) + bytes) & ~(kHugePage - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
}

// A fresh 50 MB block cost some 12,800 page faults, which on a virtual machine took longer than
// the work done in it. The heap is grown by the most any document's work takes and the new range
// marked for huge pages; freed at once, it stays in the heap untouched (no memory used) for the
// allocations that follow.
void reserveHugePageRoom()
{
    const size_t bytes = kHeapKeptBlock / 2;
    void *p = std::malloc(bytes);
    if (!p)
        return;
    adviseHugePages(p, bytes);
    std::free(p);
}

// On a virtual machine the first touch of fresh memory is what a large open waits for most (the
// host backs each page then): 100 MB took from 10 to 150 ms, every run differently. The pages are
// touched here on another core while Qt starts on this one, and the block is freed back into the
// heap (kept there) just before the document's buffers are allocated from it. The block is
// allocated here, on the main thread, so that it belongs to the heap those buffers use.
void warmHeap(size_t bytes)
{
    Warming &w = warming();
    bytes = std::min(bytes, kHeapKeptBlock / 2);
    if (bytes < 4 * kHugePage || w.block)
        return;
    w.block = std::malloc(bytes);
    if (!w.block)
        return;
    adviseHugePages(w.block, bytes);
    auto *first = static_cast<volatile char *>(w.block);
    try {
        w.worker = std::thread([first, bytes] {
            for (size_t at = 0; at < bytes; at += 4096)
                first[at] = 0;
        });
    } catch (const std::system_error &) {
        w.finish();
    }
}
#endif
} // namespace

// By default glibc maps each large block afresh and unmaps it when freed, so every one pays a page
// fault per 4 KB again: on a 50 MB document that fault cost was most of the time of a load or a
// whole-document command. Kept in the heap, freed blocks are reused by the next command without
// faulting.
void applyHeapPolicy()
{
#ifdef __GLIBC__
    static const bool applied = [] {
        // glibc caps the mapping threshold at 32 MB, so large blocks are kept in the heap by
        // not mapping blocks at all; the heap still falls back to a mapping when it cannot grow.
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, int(kHeapKeptBlock));
#ifdef Q_OS_LINUX
        reserveHugePageRoom();
#endif
        return true;
    }();
    Q_UNUSED(applied);
#endif
}

// The kernel reads the file into its cache while the window is built; the document is then read
// from there piece by piece, without a copy of the whole file. The editor's text and styles take
// twice the file's size: that much heap is faulted in meanwhile, with room for the pieces read
// before them (short of it, the styles would not fit in what is left and be faulted in afresh).
void prefetchDocument(const QString &path)
{
#ifdef POSIX_FADV_WILLNEED
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
#if defined(__GLIBC__) && defined(Q_OS_LINUX)
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        warmHeap(size_t(st.st_size) * 2 + kWarmSlack);
#endif
    ::close(fd);
#else
    Q_UNUSED(path);
#endif
}

void finishHeapWarmUp() { warming().finish(); }

} // namespace kestrin
