#include "RegistrationXdg.h"

#include "RegistrationTypes.h"
#include "common/Desktop.h"
#include "document/AtomicFile.h"
#include "document/FileReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrin {

namespace {

// Our own type for .tpl, which shared-mime-info does not know.
constexpr const char *tplMimeType = "text/x-kestrin-tpl";

QString environmentFolder(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

// A file's bytes, or none when it cannot be read (a missing file is an empty one here).
QByteArray bytesOrEmpty(const QString &path)
{
    QByteArray bytes;
    QString error;
    return readFile(path, &bytes, &error) ? bytes : QByteArray();
}

QByteArray escapeXml(const char *text)
{
    return QString::fromUtf8(text).toHtmlEscaped().toUtf8();
}

// Older shared-mime-info has application/javascript as the type of .js with text/javascript as
// its alias; newer releases swapped them. Describing both keeps the description on either.
QStringList mimeTypesOf(const DocumentType &type)
{
    QStringList types{QString::fromLatin1(type.mimeType)};
    if (types.first() == QLatin1String("application/javascript"))
        types << QStringLiteral("text/javascript");
    return types;
}

// A folder's database tool is due when our file there is newer than the tool's cache: after we
// changed the file, and also when an earlier run was missed (tool not installed yet, killed).
bool cacheIsStale(const QString &cache, const QString &source)
{
    const QFileInfo cacheInfo(cache);
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists())
        return false;
    return !cacheInfo.exists() || cacheInfo.lastModified() < sourceInfo.lastModified();
}

void startTool(const char *name, const QString &folder, XdgRegistrationResult &result)
{
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (program.isEmpty())
        return;
    if (Desktop::instance().startDetached(program, {folder}))
        result.toolsStarted << QString::fromLatin1(name) + QLatin1Char(' ') + folder;
}

} // namespace

XdgLocations XdgLocations::fromEnvironment()
{
    XdgLocations locations;
    locations.home = QDir::homePath();
    locations.dataHome = environmentFolder("XDG_DATA_HOME", locations.home + QStringLiteral("/.local/share"));
    locations.configHome = environmentFolder("XDG_CONFIG_HOME", locations.home + QStringLiteral("/.config"));
    return locations;
}

QStringList registeredMimeTypes()
{
    QStringList types;
    for (const DocumentType &type : documentTypes) {
        for (const QString &mime : mimeTypesOf(type)) {
            if (!types.contains(mime))
                types << mime;
        }
    }
    return types;
}

QString desktopExecArgument(const QString &argument)
{
    QString quoted(QLatin1Char('"'));
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // The value is a string value first: its own escapes are undone before the Exec rules apply.
    QString value;
    for (const QChar c : quoted) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

QByteArray desktopEntryText(const QString &executable)
{
    QByteArray text;
    text += "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Kestrin 4\n"
            "Name[de]=Kestrin 4\n"
            "Name[es]=Kestrin 4\n"
            "GenericName=Web Page Editor\n"
            "GenericName[de]=Webseiten-Editor\n"
            "GenericName[es]=Editor de p\xC3\xA1ginas web\n"
            "Comment=Edit web pages, PHP scripts, style sheets and templates\n"
            "Comment[de]=Webseiten, PHP-Skripte, Stylesheets und Vorlagen bearbeiten\n"
            "Comment[es]=Editar p\xC3\xA1ginas web, scripts PHP, hojas de estilo y plantillas\n";
    text += "Exec=" + desktopExecArgument(executable).toUtf8() + " %f\n";
    text += QByteArray("Icon=") + kestrinIconName + "\n";
    text += "Terminal=false\n"
            "Categories=Development;WebDevelopment;\n"
            "Keywords=HTML;PHP;CSS;JavaScript;web;editor;\n"
            "Keywords[de]=HTML;PHP;CSS;JavaScript;Web;Editor;Webseite;\n"
            "Keywords[es]=HTML;PHP;CSS;JavaScript;web;editor;p\xC3\xA1gina web;\n";
    text += "MimeType=" + registeredMimeTypes().join(QLatin1Char(';')).toUtf8() + ";\n";
    text += "StartupWMClass=kestrin4\n";
    return text;
}

QByteArray mimePackageText()
{
    QByteArray text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    QStringList described;
    for (const DocumentType &type : documentTypes) {
        for (const QString &mime : mimeTypesOf(type)) {
            // html and htm share text/html, and a type has one description: the first row's,
            // "HTML Document", stands for both. A private type for .htm would take .htm files away
            // from every browser and tool that handles text/html.
            if (described.contains(mime))
                continue;
            described << mime;
            text += "  <mime-type type=\"" + mime.toUtf8() + "\">\n";
            text += "    <comment>" + escapeXml(type.description) + "</comment>\n";
            text += "    <comment xml:lang=\"de\">" + escapeXml(type.descriptionDe) + "</comment>\n";
            text += "    <comment xml:lang=\"es\">" + escapeXml(type.descriptionEs) + "</comment>\n";
            text += QByteArray("    <icon name=\"") + type.iconName + "\"/>\n";
            if (mime == QLatin1String(tplMimeType)) {
                text += "    <sub-class-of type=\"text/plain\"/>\n";
                text += QByteArray("    <glob pattern=\"*.") + type.extension + "\"/>\n";
            }
            text += "  </mime-type>\n";
        }
    }
    text += "</mime-info>\n";
    return text;
}

QByteArray mergeMimeAppsList(const QByteArray &existing, const QString &desktopId, const QStringList &mimeTypes)
{
    static const QByteArray section = "[Default Applications]";
    QList<QByteArray> lines = existing.split('\n');
    const bool endedWithNewline = existing.isEmpty() || existing.endsWith('\n');
    if (endedWithNewline)
        lines.removeLast(); // the empty piece after the final line end
    const QByteArray id = desktopId.toUtf8();

    qsizetype start = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == section) {
            start = i;
            break;
        }
    }
    QStringList missing = mimeTypes;
    qsizetype insertAt = lines.size();
    bool changed = false;
    if (start >= 0) {
        insertAt = start + 1;
        for (qsizetype i = start + 1; i < lines.size() && !lines[i].trimmed().startsWith('['); ++i) {
            const QByteArray &line = lines[i];
            if (!line.trimmed().isEmpty() && !line.trimmed().startsWith('#'))
                insertAt = i + 1;
            const qsizetype equals = line.indexOf('=');
            if (equals < 0)
                continue;
            const QString key = QString::fromUtf8(line.left(equals).trimmed());
            if (!mimeTypes.contains(key))
                continue;
            missing.removeAll(key);
            QList<QByteArray> ids;
            for (const QByteArray &entry : line.mid(equals + 1).split(';')) {
                if (!entry.trimmed().isEmpty())
                    ids << entry.trimmed();
            }
            if (!ids.isEmpty() && ids.first() == id)
                continue; // already ours first: the line stays as the user wrote it
            ids.removeAll(id);
            ids.prepend(id);
            lines[i] = key.toUtf8() + '=' + ids.join(';') + ';';
            changed = true;
        }
    }
    QList<QByteArray> added;
    if (start < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            added << QByteArray();
        added << section;
    }
    for (const QString &mime : std::as_const(missing))
        added << mime.toUtf8() + '=' + id + ';';
    if (!missing.isEmpty()) {
        for (qsizetype k = 0; k < added.size(); ++k)
            lines.insert(insertAt + k, added[k]);
        changed = true;
    }
    if (!changed)
        return existing;
    QByteArray result = lines.join('\n');
    result += '\n';
    return result;
}

QString templatesFolder(const QByteArray &userDirsText, const QString &home)
{
    for (const QByteArray &rawLine : userDirsText.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith("XDG_TEMPLATES_DIR"))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0 || line.left(equals).trimmed() != "XDG_TEMPLATES_DIR")
            continue;
        QByteArray value = line.mid(equals + 1).trimmed();
        if (value.size() < 2 || !value.startsWith('"') || !value.endsWith('"'))
            continue;
        value = value.mid(1, value.size() - 2);
        QByteArray unescaped;
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            unescaped += value[i];
        }
        QString path;
        if (unescaped.startsWith("$HOME/") || unescaped == "$HOME")
            path = home + QString::fromUtf8(unescaped.mid(5));
        else if (unescaped.startsWith('/'))
            path = QString::fromUtf8(unescaped);
        else
            continue;
        path = QDir::cleanPath(path);
        if (path == QDir::cleanPath(home))
            return QString();
        return path;
    }
    return QString();
}

QStringList templateFileNames()
{
    QStringList names;
    for (const DocumentType &type : documentTypes)
        names << QString::fromLatin1(type.description) + QLatin1Char('.') + QLatin1String(type.extension);
    return names;
}

bool writeFileIfDifferent(const QString &path, const QByteArray &content)
{
    const QString target = AtomicFile::resolveTarget(path);
    if (QByteArray existing; readFile(target, &existing, nullptr) && existing == content)
        return false;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    QString error;
    return AtomicFile::write(target, content, &error);
}

XdgRegistrationResult registerXdgDocumentTypes(const XdgLocations &locations, const QString &executable)
{
    XdgRegistrationResult result;
    auto write = [&result](const QString &path, const QByteArray &content) {
        if (writeFileIfDifferent(path, content)) {
            result.written << path;
            return true;
        }
        return false;
    };
    if (locations.dataHome.isEmpty() || locations.configHome.isEmpty())
        return result;

    // Icons first, so that the databases refer to pictures that are already there.
    const QString hicolor = locations.dataHome + QStringLiteral("/icons/hicolor/scalable/");
    const QByteArray appIcon = bytesOrEmpty(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kestrinIconName)));
    if (!appIcon.isEmpty())
        write(hicolor + QStringLiteral("apps/%1.svg").arg(QLatin1String(kestrinIconName)), appIcon);
    QStringList iconNames;
    for (const DocumentType &type : documentTypes) {
        const QString name = QString::fromLatin1(type.iconName);
        if (iconNames.contains(name))
            continue;
        iconNames << name;
        const QByteArray icon = bytesOrEmpty(QStringLiteral(":/icons/%1.svg").arg(name));
        if (!icon.isEmpty())
            write(hicolor + QStringLiteral("mimetypes/%1.svg").arg(name), icon);
    }

    const QString mimeFolder = locations.dataHome + QStringLiteral("/mime");
    const QString mimePackage = mimeFolder + QStringLiteral("/packages/") + QLatin1String(kestrinMimePackage);
    write(mimePackage, mimePackageText());

    const QString applications = locations.dataHome + QStringLiteral("/applications");
    const QString desktopEntry = applications + QLatin1Char('/') + QLatin1String(kestrinDesktopId);
    write(desktopEntry, desktopEntryText(executable));

    const QString mimeApps = locations.configHome + QStringLiteral("/mimeapps.list");
    const QByteArray oldMimeApps = bytesOrEmpty(mimeApps);
    write(mimeApps, mergeMimeAppsList(oldMimeApps, QLatin1String(kestrinDesktopId), registeredMimeTypes()));

    // The New menu: only a Templates folder the user has, and never over a template already
    // there (the user may have filled it in).
    const QString templates =
        templatesFolder(bytesOrEmpty(locations.configHome + QStringLiteral("/user-dirs.dirs")), locations.home);
    if (!templates.isEmpty() && QFileInfo(templates).isDir()) {
        for (const QString &name : templateFileNames()) {
            const QString path = templates + QLatin1Char('/') + name;
            if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
                write(path, QByteArray());
        }
    }

    if (cacheIsStale(mimeFolder + QStringLiteral("/mime.cache"), mimePackage))
        startTool("update-mime-database", mimeFolder, result);
    if (cacheIsStale(applications + QStringLiteral("/mimeinfo.cache"), desktopEntry))
        startTool("update-desktop-database", applications, result);
    return result;
}

} // namespace kestrin
