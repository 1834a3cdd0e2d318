#include "FileReader.h"

#include "HeapPolicy.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <future>
#include <limits>
#include <memory>

namespace kestrin {

namespace {

// A file being read ahead on another thread. Its buffer is allocated here, by the caller:
// a thread's own heap cannot hold a block larger than 64 MB once mappings are turned off.
struct Prefetch {
    QString path;
    QByteArray bytes;
    std::future<bool> whole; // false: unreadable, or not the size it had (then read again)
};

std::unique_ptr<Prefetch> &pendingPrefetch()
{
    static std::unique_ptr<Prefetch> pending;
    return pending;
}

constexpr qint64 kPrefetchMinimum = 1024 * 1024;

} // namespace

void prefetchFile(const QString &path)
{
    const QFileInfo info(path);
    const qint64 size = info.isFile() ? info.size() : 0;
    if (size < kPrefetchMinimum || size > std::numeric_limits<qsizetype>::max() / 4)
        return;
    // The read buffer, the editor's text and style buffers, and a decoded copy.
    prepareHeap(size_t(size) * 4);
    auto job = std::make_unique<Prefetch>();
    job->path = path;
    job->bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
    char *data = job->bytes.data();
    job->whole = std::async(std::launch::async, [path, data, size] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.read(data, size) != size)
            return false;
        char more;
        return file.read(&more, 1) == 0; // grown since: read it again
    });
    pendingPrefetch() = std::move(job);
}

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
    if (std::unique_ptr<Prefetch> job = std::move(pendingPrefetch())) {
        if (job->path == path && job->whole.get()) {
            *bytes = std::move(job->bytes);
            return true;
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    prepareHeap(size_t(std::max<qint64>(size, 0)) * 4);
    if (size > 0) {
        *bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
        const qint64 got = file.read(bytes->data(), size);
        if (got < 0) {
            *error = file.errorString();
            return false;
        }
        bytes->truncate(qsizetype(got));
    } else {
        *bytes = file.readAll(); // files that report no size (pipes, /proc)
    }
    return true;
}

} // namespace kestrin
