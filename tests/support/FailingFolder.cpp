#include "FailingFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace kestrin::test {

static bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

FailingFolder::FailingFolder(const QString &path, Kind kind) : m_path(path)
{
    if (kind == Kind::Full) {
        // A 64 KiB file system: a larger write fails with "No space left on device".
        m_ok = m_mounted = run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", path});
        m_why = QStringLiteral("cannot mount a small tmpfs here");
    } else if (::geteuid() != 0) {
        // A user who is not root can neither write a folder of mode 0555 nor change its attributes.
        m_ok = m_modeChanged = ::chmod(QFile::encodeName(path).constData(), 0555) == 0;
        m_why = QStringLiteral("cannot change the folder's mode");
    } else if (!(m_ok = m_immutable = run("chattr", {"+i", path}))) {
        // Root without chattr: a read-only tmpfs holding a copy of the folder's files.
        QTemporaryDir stash;
        const QStringList files = QDir(path).entryList(QDir::Files | QDir::Hidden);
        for (const QString &f : files) QFile::copy(path + '/' + f, stash.path() + '/' + f);
        m_mounted = run("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", path});
        for (const QString &f : files) QFile::copy(stash.path() + '/' + f, path + '/' + f);
        m_ok = m_mounted && run("mount", {"-o", "remount,ro", path});
        m_why = QStringLiteral("neither chattr +i nor a read-only tmpfs works here");
    }
}

FailingFolder::~FailingFolder()
{
    if (m_modeChanged) ::chmod(QFile::encodeName(m_path).constData(), 0755);
    if (m_immutable) run("chattr", {"-i", m_path});
    if (m_mounted) run("umount", {m_path});
}

} // namespace kestrin::test
