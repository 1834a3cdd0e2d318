#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>

#ifdef Q_OS_UNIX
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestrin {

#ifdef Q_OS_UNIX

namespace {

QString errnoText(int e) { return QString::fromLocal8Bit(std::strerror(e)); }

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

// Creates a file of a fresh name, prefix and six letters or digits (as mkostemp does), with mode
// narrowed by the system as for any new file (the file-creation mask, or the folder's default
// ACL): nothing process-wide is read or changed, which would race with other threads' files.
int createUnique(QByteArray &path, const QByteArray &prefix, mode_t mode)
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = prefix;
        for (int i = 0; i < 6; ++i)
            path += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const char *p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= size_t(w);
    }
    return true;
}

#ifdef O_DIRECT
// A large file that must be made durable at once goes straight to the disk: through the page
// cache it would first need a second document's worth of cache pages (the old file stays whole
// until the rename), and then the sync would write them all out anyway. Where the file system
// refuses direct writes (tmpfs, some network file systems) the ordinary write is used.
constexpr size_t kDirectMinimum = 8u * 1024 * 1024;
constexpr size_t kDirectAlign = 4096;
constexpr size_t kDirectChunk = 4u * 1024 * 1024;

bool writeDirect(int fd, const char *p, size_t n)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_DIRECT) != 0)
        return writeAll(fd, p, n);
    void *bounce = nullptr;
    if (::posix_memalign(&bounce, kDirectAlign, kDirectChunk) != 0) {
        ::fcntl(fd, F_SETFL, flags);
        return writeAll(fd, p, n);
    }
    bool ok = true;
    size_t done = 0;
    // Whole aligned blocks directly; the last partial block, if any, is written padded and the
    // file cut back to its true length.
    while (ok && done < n) {
        const size_t chunk = std::min(kDirectChunk, n - done);
        const size_t padded = (chunk + kDirectAlign - 1) & ~(kDirectAlign - 1);
        std::memcpy(bounce, p + done, chunk);
        if (padded > chunk)
            std::memset(static_cast<char *>(bounce) + chunk, 0, padded - chunk);
        ok = writeAll(fd, static_cast<const char *>(bounce), padded);
        if (!ok && done == 0 && errno == EINVAL) {
            // Direct writes refused after all: the ordinary way, from the start.
            ::free(bounce);
            ::fcntl(fd, F_SETFL, flags);
            return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, p, n);
        }
        done += chunk;
    }
    const int saved = errno;
    ::free(bounce);
    ::fcntl(fd, F_SETFL, flags);
    if (!ok) {
        errno = saved;
        return false;
    }
    return ::ftruncate(fd, off_t(n)) == 0;
}
#else
constexpr size_t kDirectMinimum = size_t(-1);
bool writeDirect(int fd, const char *p, size_t n) { return writeAll(fd, p, n); }
#endif

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray folderOf(const QByteArray &file)
{
    const qsizetype slash = file.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : file.left(slash);
}

// Writes bytes to a fresh temporary file beside target, with target's permissions, and returns
// its path (empty on failure, with errno kept in *err). sync: data made durable before close.
QByteArray writeTemp(const QByteArray &target, const QByteArray &bytes, bool sync, int *err)
{
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        *err = EISDIR;
        return QByteArray();
    }
    // Renaming would replace a file the user may not write; refuse as writing in place would.
    if (exists && ::access(target.constData(), W_OK) != 0) {
        *err = errno;
        return QByteArray();
    }
    const QByteArray folder = folderOf(target);
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    // A replacement stays private until it has the old file's owner and mode; a new file is
    // created with the mode any new file of this process gets.
    QByteArray temp;
    const int fd = createUnique(temp, folder + "/." + name.left(200) + ".", exists ? 0600 : 0666);
    if (fd < 0) {
        *err = errno;
        return QByteArray();
    }
    bool ok = sync && size_t(bytes.size()) >= kDirectMinimum ? writeDirect(fd, bytes.constData(), size_t(bytes.size()))
                                                              : writeAll(fd, bytes.constData(), size_t(bytes.size()));
    // Owner and mode after the data: a change of owner, and a write or truncate by a user who is
    // not root, clear the set-id bits, which fchmod then restores.
    if (exists) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0)
            (void)!::fchown(fd, uid_t(-1), st.st_gid);
        ok = ok && ::fchmod(fd, st.st_mode & 07777) == 0;
    }
    ok = ok && (!sync || ::fdatasync(fd) == 0);
    if (ok) {
        ok = ::close(fd) == 0; // NFS and full disks may only report at close
    } else {
        const int saved = errno;
        ::close(fd);
        errno = saved;
    }
    if (!ok) {
        *err = errno;
        ::unlink(temp.constData());
        return QByteArray();
    }
    return temp;
}

} // namespace

QString AtomicFile::resolveTarget(const QString &path)
{
    QByteArray p = encoded(QFileInfo(path).absoluteFilePath());
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        QByteArray link(qsizetype(st.st_size > 0 ? st.st_size : 4096), Qt::Uninitialized);
        const ssize_t n = ::readlink(p.constData(), link.data(), size_t(link.size()));
        if (n <= 0)
            break;
        link.truncate(n);
        p = link.startsWith('/') ? link : folderOf(p) + '/' + link;
        p = encoded(QDir::cleanPath(QFile::decodeName(p)));
    }
    return QFile::decodeName(p);
}

bool AtomicFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray target = encoded(resolveTarget(path));
    int err = 0;
    const QByteArray temp = writeTemp(target, bytes, true, &err);
    if (temp.isEmpty()) {
        *error = errnoText(err);
        return false;
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        *error = errnoText(errno);
        ::unlink(temp.constData());
        return false;
    }
    syncFolder(folderOf(target));
    return true;
}

AtomicBatch::~AtomicBatch() { discard(); }

bool AtomicBatch::stage(const QString &path, const QByteArray &bytes, QString *error)
{
    // A multi-file run asks isPending when it loads a file and stages it right after: the file
    // it read is the one it writes.
    const QString target = path == m_lastAsked ? m_lastAskedTarget : AtomicFile::resolveTarget(path);
    m_lastAsked.clear();
    int err = 0;
    const QByteArray temp = writeTemp(encoded(target), bytes, false, &err);
    if (temp.isEmpty()) {
        *error = errnoText(err);
        return false;
    }
    m_items.append({path, target, QFile::decodeName(temp)});
    m_targets.insert(target);
    return true;
}

bool AtomicBatch::isPending(const QString &path) const
{
    if (m_items.isEmpty())
        return false;
    m_lastAsked = path;
    m_lastAskedTarget = AtomicFile::resolveTarget(path);
    return m_targets.contains(m_lastAskedTarget);
}

bool AtomicBatch::commit(QString *error)
{
    m_failed.clear();
    if (m_items.isEmpty())
        return true;
    // One sync per file system instead of one per file: the data of every temporary file is on
    // disk before any of them replaces its target.
    QSet<QByteArray> folders;
    QSet<dev_t> devices;
    for (const Item &item : std::as_const(m_items)) {
        const QByteArray folder = folderOf(encoded(item.target));
        if (folders.contains(folder))
            continue;
        folders.insert(folder);
        struct stat st {};
        if (::stat(folder.constData(), &st) != 0 || devices.contains(st.st_dev))
            continue;
        devices.insert(st.st_dev);
#ifdef Q_OS_LINUX
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::syncfs(fd);
            ::close(fd);
        }
#else
        ::sync();
#endif
    }
    bool ok = true;
    for (const Item &item : std::as_const(m_items)) {
        const QByteArray temp = encoded(item.temp);
        if (::rename(temp.constData(), encoded(item.target).constData()) != 0) {
            if (ok)
                *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(item.target), errnoText(errno));
            ok = false;
            m_failed.append(item.path);
            ::unlink(temp.constData());
        }
    }
    m_items.clear();
    m_targets.clear();
    for (const QByteArray &folder : std::as_const(folders))
        syncFolder(folder);
    return ok;
}

void AtomicBatch::discard()
{
    for (const Item &item : std::as_const(m_items))
        ::unlink(encoded(item.temp).constData());
    m_items.clear();
    m_targets.clear();
}

#else // not Q_OS_UNIX: Qt's own safe writer; each staged file is committed at once.

QString AtomicFile::resolveTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

bool AtomicFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(resolveTarget(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

AtomicBatch::~AtomicBatch() { discard(); }
bool AtomicBatch::stage(const QString &path, const QByteArray &bytes, QString *error)
{
    return AtomicFile::write(path, bytes, error);
}
bool AtomicBatch::isPending(const QString &) const { return false; }
bool AtomicBatch::commit(QString *) { return true; }
void AtomicBatch::discard()
{
    m_items.clear();
    m_targets.clear();
}

#endif

} // namespace kestrin
