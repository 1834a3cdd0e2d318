#include "FileFingerprint.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace kestrin {

namespace {

bool alwaysHash = false;

constexpr QCryptographicHash::Algorithm kHash = QCryptographicHash::Sha1;

// File systems whose times and inode numbers another machine or a user-space server makes up:
// FUSE (sshfs, rclone, gvfs ...), NFS, SMB/CIFS, 9P, AFS, Ceph, Coda, VirtualBox shared folders.
bool timesUnreliable(long type)
{
    switch (static_cast<unsigned long>(type) & 0xFFFFFFFFul) {
    case 0x65735546: // FUSE
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x01021997: // 9P
    case 0x5346414F: // AFS
    case 0x00C36400: // Ceph
    case 0x73757245: // Coda
    case 0x786F4256: // vboxsf
        return true;
    default:
        return false;
    }
}

QByteArray hashOfFile(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(kHash);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray(); // unreadable now: differs from any real hash
    return hash.result();
}

// No program sets the status-change time, so one without nanoseconds means a file system that
// keeps whole seconds, where two writes in one second look alike.
bool hashWanted(const QByteArray &name, const struct stat &st)
{
    struct statfs fs {};
    const bool remote = ::statfs(name.constData(), &fs) == 0 && timesUnreliable(long(fs.f_type));
    return alwaysHash || remote || st.st_ctim.tv_nsec == 0;
}

} // namespace

void FileFingerprint::setAlwaysHash(bool on) { alwaysHash = on; }

bool FileFingerprint::hashes(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    return ::stat(name.constData(), &st) == 0 && hashWanted(name, st);
}

QByteArray FileFingerprint::Hash::result() { return m_hash.result(); }
FileFingerprint::Hash::Hash() : m_hash(kHash) {}
void FileFingerprint::Hash::add(const char *p, qsizetype n) { m_hash.addData(QByteArrayView(p, n)); }

FileFingerprint FileFingerprint::take(const QString &path, const QByteArray *content, const QByteArray *contentHash)
{
    FileFingerprint f;
    const QByteArray name = QFile::encodeName(path);
    struct stat own {};
    if (::lstat(name.constData(), &own) == 0 && S_ISLNK(own.st_mode)) {
        QByteArray link(qsizetype(own.st_size > 0 ? own.st_size : 256) + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(name.constData(), link.data(), size_t(link.size()));
        link.truncate(n > 0 ? qsizetype(n) : 0);
        f.m_link = link.isEmpty() ? QByteArray("?") : link;
    }
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return f; // gone (or a link to nothing)
    f.m_exists = true;
    f.m_device = quint64(st.st_dev);
    f.m_inode = quint64(st.st_ino);
    f.m_size = qint64(st.st_size);
    f.m_mtimeSec = st.st_mtim.tv_sec;
    f.m_mtimeNsec = st.st_mtim.tv_nsec;
    f.m_ctimeSec = st.st_ctim.tv_sec;
    f.m_ctimeNsec = st.st_ctim.tv_nsec;

    f.m_hashed = hashWanted(name, st);
    if (f.m_hashed)
        f.m_hash = content       ? QCryptographicHash::hash(*content, kHash)
                   : contentHash ? *contentHash
                                 : hashOfFile(path);
    return f;
}

bool FileFingerprint::sameAs(const FileFingerprint &other) const
{
    if (m_exists != other.m_exists || m_link != other.m_link)
        return false;
    if (!m_exists)
        return true;
    if (m_size != other.m_size)
        return false;
    if (m_hashed && other.m_hashed)
        return !m_hash.isEmpty() && m_hash == other.m_hash;
    return m_device == other.m_device && m_inode == other.m_inode && m_mtimeSec == other.m_mtimeSec
        && m_mtimeNsec == other.m_mtimeNsec && m_ctimeSec == other.m_ctimeSec && m_ctimeNsec == other.m_ctimeNsec;
}

} // namespace kestrin
