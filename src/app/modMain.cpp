#include "modMain.h"

#include "editor/frmEdit.h"

#include "QuitWhenNoWindows.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace kestrin {

QString CommandLineDocument;

QString DiskDirectorySearch::entryName(const QString &path) const
{
    const QFileInfo info(path);
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
            // (Save creates a missing file).
            name = path.mid(p + 1, q >= 0 ? q - p - 1 : -1);
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
    if (!windowsForm && !QDir::isAbsolutePath(path))
        path = QDir(currentFolder).filePath(path);
    if (!windowsForm)
        path = QDir::cleanPath(path);
    return LongPathName(path, search);
}

namespace {

QString joinedArguments(const QStringList &arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

} // namespace

int Main(int argc, char **argv)
{
    // A start that names no known type ends at once, before any window system is touched.
    {
        QStringList raw;
        bool qtOption = false;
        for (int i = 0; i < argc; ++i) {
            raw << QString::fromLocal8Bit(argv[i]);
            if (i > 0 && argv[i][0] == '-')
                qtOption = true;
        }
        const QString line = joinedArguments(raw);
        if (!qtOption && !line.isEmpty() && !namesKnownDocumentType(line))
            return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrin4"));
    // Lets Wayland compositors match the window to its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.marvolis.Kestrin4"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(KESTRIN_VERSION_MAJOR)
                                            .arg(KESTRIN_VERSION_MINOR)
                                            .arg(KESTRIN_VERSION_PATCH));
    const QString line = joinedArguments(QApplication::arguments());
    if (!line.isEmpty()) {
        if (!namesKnownDocumentType(line))
            return 0;
        CommandLineDocument = commandLineDocumentPath(line, QDir::currentPath());
    }
    // Tool windows have no owner; the process lives until the last window of any kind closes.
    app.setQuitOnLastWindowClosed(false);
    QuitWhenNoWindows quitPolicy;
    app.installEventFilter(&quitPolicy);
    frmEdit *window = new frmEdit;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}

} // namespace kestrin
