#include "ReplacePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kestrin {

namespace {

bool endsWithSeparator(const QString &path)
{
    return path.endsWith(QLatin1Char('/'))
#ifdef Q_OS_WIN
        || path.endsWith(QLatin1Char('\\'))
#endif
        ;
}

// True when folder is root itself or lies inside it.
bool isInside(const QString &root, const QString &folder)
{
    if (folder == root)
        return true;
    if (endsWithSeparator(root))
        return folder.startsWith(root);
    return folder.startsWith(root) && folder.size() > root.size() && folder.at(root.size()) == QLatin1Char('/');
}

} // namespace

QString listEntry(const QString &folder, const QString &fileName)
{
    if (endsWithSeparator(folder))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

QStringList folderChain(const QString &folder)
{
    QStringList chain;
    QString path = QDir::cleanPath(folder);
    while (!path.isEmpty()) {
        chain.prepend(path);
        if (QDir(path).isRoot())
            break;
        const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
        if (cut < 0)
            break;
        // The parent of "/home" is "/", of "C:/web" is "C:/".
        path = path.left(cut);
        if (path.isEmpty() || path.endsWith(QLatin1Char(':')))
            path += QLatin1Char('/');
    }
    return chain;
}

QString folderDisplayName(const QString &folder)
{
    if (QDir(folder).isRoot())
        return folder;
    return QFileInfo(folder).fileName();
}

QString volumeOf(const QStringList &roots, const QString &folder)
{
    QString best;
    for (const QString &root : roots) {
        if (isInside(root, folder) && root.size() > best.size())
            best = root;
    }
    return best;
}

QString folderOnVolume(const QStringList &roots, const QString &root, const QString &currentFolder)
{
    return volumeOf(roots, currentFolder) == root ? currentFolder : root;
}

QStringList mountedVolumeRoots()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        if (!roots.contains(root))
            roots.append(root);
    }
    std::sort(roots.begin(), roots.end());
    const QString top = QDir::rootPath();
    roots.removeAll(top);
    roots.prepend(top);
    return roots;
}

QStringList matchingFiles(const QString &folder, const QString &pattern)
{
    QStringList filters = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &f : filters)
        f = f.trimmed();
    QDir dir(folder);
    return dir.entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

QStringList subfolderNames(const QString &folder)
{
    QDir dir(folder);
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

QString writeProblem(const QString &path)
{
#ifdef Q_OS_UNIX
    // access() answers for this user, root included: it reports immutable files and read-only
    // file systems, which the permission bits alone do not show.
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0) {
        const int err = errno;
        if (err == EACCES)
            return QCoreApplication::translate("ReplacePaths", "the file is read-only or you have no permission to change it");
        if (err == EPERM)
            return QCoreApplication::translate("ReplacePaths", "the file may not be changed (it is marked immutable)");
        if (err == EROFS)
            return QCoreApplication::translate("ReplacePaths", "the file lies on a read-only file system");
        return QString::fromLocal8Bit(std::strerror(err));
    }
    return QString();
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable())
        return QCoreApplication::translate("ReplacePaths", "the file is read-only or you have no permission to change it");
    return QString();
#endif
}

} // namespace kestrin
