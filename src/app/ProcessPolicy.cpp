#include "ProcessPolicy.h"

#include "document/Document.h"

#include <QFile>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kestrin {

namespace {
// Up to this much freed memory stays in the heap for reuse.
constexpr size_t kHeapKeptBlock = 512u * 1024 * 1024;
constexpr uintptr_t kHugePage = 2u * 1024 * 1024;

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
        // A text read again in another encoding gives the first reading's memory back first.
        TextStore::droppedText = [] { malloc_trim(0); };
#ifdef Q_OS_LINUX
        reserveHugePageRoom();
#endif
        return true;
    }();
    Q_UNUSED(applied);
#endif
}

// The kernel reads the file into its cache while the window is built; the document is then read
// from there piece by piece, without a copy of the whole file. The heap for the editor's text and
// styles is not faulted in ahead on another core: with Scintilla 5 that made a 50 MB open no
// faster (median 0.30 s against 0.23 s without, peak memory the same, 24 alternating runs each).
void prefetchDocument(const QString &path)
{
#ifdef POSIX_FADV_WILLNEED
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    ::close(fd);
#else
    Q_UNUSED(path);
#endif
}

} // namespace kestrin
