#include "FileReader.h"

#include "HeapPolicy.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrin {

namespace {
constexpr size_t kWarmSlack = 2u * 1024 * 1024;
} // namespace

// The kernel reads the file into its cache while the window is built; the document is then read
// from there piece by piece, without a copy of the whole file. The editor's text and styles take
// twice the file's size: that much heap is faulted in meanwhile, with room for the pieces read
// before them (short of it, the styles would not fit in what is left and be faulted in afresh).
void prefetchFile(const QString &path)
{
#ifdef POSIX_FADV_WILLNEED
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        warmHeap(size_t(st.st_size) * 2 + kWarmSlack);
    ::close(fd);
#else
    Q_UNUSED(path);
#endif
}

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
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
