#include "JournalFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kestrin {

namespace {

QByteArray native(const QString &path) { return QFile::encodeName(path); }

bool makeFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST)
        return true;
    if (errno != ENOENT)
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 && makeFolder(path.left(slash)) && (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST);
}

} // namespace

QString recoveryFolderPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is not to be used: freedesktop.org says to ignore it.
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/kestrin4/recovery");
}

bool prepareRecoveryFolder(const QString &folder, QString *why)
{
    const QByteArray path = native(folder);
    if (!makeFolder(path)) {
        *why = QCoreApplication::translate("kestrin::Journal", "The folder %1 cannot be made: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *why = QCoreApplication::translate("kestrin::Journal", "%1 is not a folder.").arg(folder);
        return false;
    }
    if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        *why = QCoreApplication::translate("kestrin::Journal", "The folder %1 belongs to another user or is open to others.").arg(folder);
        return false;
    }
    return true;
}

QString journalPathOf(const QString &documentPath)
{
    if (documentPath.isEmpty())
        return {};
    const QFileInfo info(documentPath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// ---------------------------------------------------------------------------------------------

JournalFile::JournalFile(JournalFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path))
{
}

JournalFile &JournalFile::operator=(JournalFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

JournalFile::~JournalFile() { close(); }

void JournalFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void JournalFile::remove()
{
    if (m_fd >= 0)
        ::unlink(native(m_path).constData());
    close();
}

JournalFile JournalFile::create(const QString &path, QString *why)
{
    JournalFile f;
    const int fd = ::open(native(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return f;
    }
    f.m_fd = fd;
    f.m_path = path;
    return f;
}

JournalFile JournalFile::claim(const QString &path)
{
    JournalFile f;
    const QByteArray name = native(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return f;
    f.m_fd = fd;
    f.m_path = path;
    // Taken: the editor that wrote it is gone. The name must still lead to this file, or the lock
    // is that of a journal just replaced (compacted) or removed by its editor.
    struct stat mine, named;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &mine) != 0 || !S_ISREG(mine.st_mode) || mine.st_nlink == 0
        || ::stat(name.constData(), &named) != 0 || named.st_ino != mine.st_ino || named.st_dev != mine.st_dev)
        f.close();
    return f;
}

JournalContents JournalFile::read(bool headerOnly) const
{
    QFile file;
    if (m_fd < 0 || !file.open(m_fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        JournalContents r;
        r.reason = QCoreApplication::translate("kestrin::Journal", "The journal cannot be read.");
        return r;
    }
    return readJournal(file, headerOnly);
}

std::vector<OrphanJournal> findOrphanJournals(const QString &folder)
{
    std::vector<OrphanJournal> found;
    const QDir dir(folder);
    const QStringList temporary = dir.entryList({QStringLiteral("*") + QLatin1String(JournalSuffix) + QStringLiteral(".tmp")},
                                                QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : temporary)
        JournalFile::claim(dir.filePath(name)).remove();
    const QStringList names =
        dir.entryList({QStringLiteral("*") + QLatin1String(JournalSuffix)}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        JournalFile file = JournalFile::claim(dir.filePath(name));
        if (!file.isOpen())
            continue;
        struct stat st;
        ::fstat(file.fd(), &st);
        OrphanJournal o;
        o.header = file.read(true).header;
        o.lastChangeMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        o.file = std::move(file);
        found.push_back(std::move(o));
    }
    std::sort(found.begin(), found.end(),
              [](const OrphanJournal &a, const OrphanJournal &b) { return a.lastChangeMs > b.lastChangeMs; });
    return found;
}

} // namespace kestrin
