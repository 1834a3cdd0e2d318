#include "CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace kestrin {

QString DiskDirectorySearch::entryName(const QString &path) const
{
    // QFileInfo reads ":name" as a Qt resource; "./" keeps such a name on the disk.
    const QFileInfo info(path.startsWith(QLatin1Char(':')) ? QStringLiteral("./") + path : path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const QString name = info.fileName();
    const QDir parent = info.dir();
    // On a case-sensitive disk the name as given is the stored one; on others, find the stored case.
    const QStringList entries = parent.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (entries.contains(name))
        return name;
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

bool namesKnownDocumentType(const QString &commandLine)
{
    const qsizetype length = commandLine.size();
    if (length < 6)
        return false;
    struct Test { int tail; const char *letters; };
    static constexpr Test tests[] = {{6, "HTML"}, {5, "HTM"}, {5, "PHP"}, {4, "JS"}, {5, "CSS"}, {5, "TPL"}};
    for (const Test &t : tests) {
        if (commandLine.right(t.tail).toUpper().contains(QLatin1String(t.letters)))
            return true;
    }
    return false;
}

QString LongPathName(const QString &path, const DirectorySearch &search)
{
    const bool windowsForm = path.size() >= 2 && path.at(1) == QLatin1Char(':');
    const QChar separator = windowsForm || (path.contains(QLatin1Char('\\')) && !path.contains(QLatin1Char('/')))
                                ? QLatin1Char('\\')
                                : QLatin1Char('/');
    QString result;
    qsizetype p = 0; // 0-based index of the separator before the next component
    if (windowsForm) {
        result = path.left(2);
        p = 2;
    }
    while (p >= 0 && p < path.size()) {
        const qsizetype q = path.indexOf(separator, p + 1);
        const QString prefix = q >= 0 ? path.left(q) : path;
        QString name = search.entryName(prefix);
        if (name.isEmpty()) {
            // A component that does not exist keeps its given name, so the path stays usable
            // (Save creates a missing file). A path that does not begin with a separator has
            // its first component from the first character on.
            const qsizetype start = path.at(p) == separator ? p + 1 : p;
            name = path.mid(start, q >= 0 ? q - start : -1);
        }
        result += separator;
        result += name;
        p = q;
    }
    return result;
}

QString commandLineDocumentPath(const QString &commandLine, const QString &currentFolder, const DirectorySearch &search)
{
    QString path = commandLine;
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    const bool windowsForm = path.size() >= 2 && path.at(1) == QLatin1Char(':');
    // Only a leading "/" makes a POSIX path absolute; QDir would also take ":name" for one of
    // Qt's resource paths.
#ifdef Q_OS_WIN
    const bool absolute = windowsForm || QDir::isAbsolutePath(path);
#else
    const bool absolute = windowsForm || path.startsWith(QLatin1Char('/'));
#endif
    if (!absolute)
        path = currentFolder + QLatin1Char('/') + path; // QDir::filePath keeps ":name" as it is
    if (!windowsForm)
        path = QDir::cleanPath(path);
    return LongPathName(path, search);
}

bool startsOnX11(const QByteArray &qpaPlatform, bool waylandDisplaySet, const QByteArray &sessionType)
{
    if (!qpaPlatform.isEmpty()) // "xcb", "xcb:option", "wayland;xcb" ...
        return qpaPlatform.split(';').first().split(':').first() == "xcb";
    return !waylandDisplaySet && sessionType != "wayland";
}

} // namespace kestrin
