#include "FailingFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace kestrin::test {

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

FailingFolder::FailingFolder(const QString &path, Kind kind) : m_path(path)
{
    if (kind == Kind::Full) {
        // A 64 KiB file system: a larger write fails with "No space left on device".
        m_mounted = run(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", path});
        m_ok = m_mounted;
        if (!m_ok)
            m_why = QStringLiteral("cannot mount a small tmpfs here");
        return;
    }
    // A user who is not root can neither write a folder of mode 0555 nor change its attributes.
    if (::geteuid() != 0) {
        m_ok = m_modeChanged = ::chmod(QFile::encodeName(path).constData(), 0555) == 0;
        if (!m_ok)
            m_why = QStringLiteral("cannot change the folder's mode");
        return;
    }
    // Immutable folder: no file can be created, renamed or removed in it, even by root.
    m_immutable = run(QStringLiteral("chattr"), {"+i", path});
    if (m_immutable) {
        m_ok = true;
        return;
    }
    // Otherwise a read-only tmpfs holding a copy of the folder's files.
    QTemporaryDir stash;
    const QStringList files = QDir(path).entryList(QDir::Files | QDir::Hidden);
    for (const QString &f : files)
        QFile::copy(path + '/' + f, stash.path() + '/' + f);
    if (!run(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=1m", "tmpfs", path})) {
        m_why = QStringLiteral("neither chattr +i nor a tmpfs mount works here");
        return;
    }
    m_mounted = true;
    for (const QString &f : files)
        QFile::copy(stash.path() + '/' + f, path + '/' + f);
    m_ok = run(QStringLiteral("mount"), {"-o", "remount,ro", path});
    if (!m_ok)
        m_why = QStringLiteral("cannot remount the tmpfs read-only");
}

FailingFolder::~FailingFolder()
{
    if (m_modeChanged)
        ::chmod(QFile::encodeName(m_path).constData(), 0755);
    if (m_immutable)
        run(QStringLiteral("chattr"), {"-i", m_path});
    if (m_mounted)
        run(QStringLiteral("umount"), {m_path});
}

} // namespace kestrin::test
