#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/Registration.h"
#include "app/RegistrationXdg.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace kestrin;
using kestrin::test::RecordingDesktop;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A home folder of its own with the XDG folders in their default places.
struct TempHome {
    QTemporaryDir dir;
    XdgLocations locations;
    TempHome(const QString &name = QStringLiteral("home"))
    {
        locations.home = dir.path() + QLatin1Char('/') + name;
        locations.dataHome = locations.home + QStringLiteral("/.local/share");
        locations.configHome = locations.home + QStringLiteral("/.config");
        QDir().mkpath(locations.home);
    }
    QString data(const QString &rel) const { return locations.dataHome + QLatin1Char('/') + rel; }
    QString config(const QString &rel) const { return locations.configHome + QLatin1Char('/') + rel; }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", locations.home);
        env.insert("XDG_DATA_HOME", locations.dataHome);
        env.insert("XDG_CONFIG_HOME", locations.configHome);
        env.remove("XDG_DATA_DIRS");
        env.remove("XDG_CONFIG_DIRS");
        env.remove("XDG_CURRENT_DESKTOP");
        return env;
    }
    // Every file below home with its bytes and modification time.
    QMap<QString, QString> snapshot() const
    {
        QMap<QString, QString> files;
        QDirIterator it(locations.home, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info(path);
            files.insert(path, QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char(' ')
                                   + QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex());
        }
        return files;
    }
};

// Runs the database tools the registrar asked for, to the end, as the detached start would.
void runStartedTools(const RecordingDesktop &desktop, const QProcessEnvironment &env)
{
    for (const auto &[program, arguments] : desktop.started) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        QVERIFY2(p.waitForFinished(30000), qPrintable(program));
        QCOMPARE(p.exitCode(), 0);
    }
}

QString gio(const TempHome &home, const QStringList &arguments, const QString &workingFolder = QString())
{
    QProcess p;
    p.setProcessEnvironment(home.environment());
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    p.start(QStringLiteral("gio"), arguments);
    if (!p.waitForFinished(30000))
        return QStringLiteral("<gio did not finish>");
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

QString builtExecutable()
{
    return qEnvironmentVariable("KESTRIN_BUILD_DIR") + QStringLiteral("/kestrin4");
}

QString sourceFile(const QString &rel)
{
    QString root = qEnvironmentVariable("KESTRIN_SOURCE_DIR");
    if (root.isEmpty())
        root = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../..");
    return root + QLatin1Char('/') + rel;
}

QByteArray desktopValue(const QByteArray &entry, const QByteArray &key)
{
    for (const QByteArray &line : entry.split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return "<none>";
}

const QString desktopId = QLatin1String(kestrinDesktopId);
const QString userDirs = QStringLiteral("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_TEMPLATES_DIR=\"$HOME/Templates\"\n");

} // namespace

class TestRegistrationXdg : public QObject {
    Q_OBJECT

private slots:
    void execArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("/usr/lib/kestrin4/kestrin4") << "/usr/lib/kestrin4/kestrin4" << "\"/usr/lib/kestrin4/kestrin4\"";
        QTest::newRow("/opt/My Apps/kestrin4") << "/opt/My Apps/kestrin4" << "\"/opt/My Apps/kestrin4\"";
        QTest::newRow("/opt/a$b/k") << "/opt/a$b/k" << "\"/opt/a\\\\$b/k\"";
        QTest::newRow("/opt/say \"hi\"/k") << "/opt/say \"hi\"/k" << "\"/opt/say \\\\\"hi\\\\\"/k\"";
        QTest::newRow("/opt/back\\slash/k") << "/opt/back\\slash/k" << "\"/opt/back\\\\\\\\slash/k\"";
        QTest::newRow("/opt/100%/k") << "/opt/100%/k" << "\"/opt/100%%/k\"";
        QTest::newRow("/opt/`tick`/k") << "/opt/`tick`/k" << "\"/opt/\\\\`tick\\\\`/k\"";
    }
    void execArgument()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(desktopExecArgument(path), expected);
    }

    void mergeMimeApps_data()
    {
        const QByteArray ours = "text/html=K.desktop;\napplication/x-php=K.desktop;\n";
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no file") << QByteArray() << "[Default Applications]\n" + ours;
        QTest::newRow("other section only")
            << QByteArray("[Added Associations]\nimage/png=gimp.desktop;\n")
            << "[Added Associations]\nimage/png=gimp.desktop;\n\n[Default Applications]\n" + ours;
        QTest::newRow("other types kept")
            << QByteArray("[Default Applications]\nimage/png=gimp.desktop;\n\n[Removed Associations]\ntext/css=x.desktop;\n")
            << "[Default Applications]\nimage/png=gimp.desktop;\n" + ours + "\n[Removed Associations]\ntext/css=x.desktop;\n";
        QTest::newRow("another editor first")
            << QByteArray("[Default Applications]\ntext/html=firefox.desktop;\n# mine\napplication/x-php=geany.desktop;K.desktop;\n")
            << QByteArray("[Default Applications]\ntext/html=K.desktop;firefox.desktop;\n# mine\napplication/x-php=K.desktop;geany.desktop;\n");
        QTest::newRow("already first, spacing kept")
            << QByteArray("[Default Applications]\ntext/html = K.desktop;firefox.desktop\napplication/x-php=K.desktop;\n")
            << QByteArray("[Default Applications]\ntext/html = K.desktop;firefox.desktop\napplication/x-php=K.desktop;\n");
        QTest::newRow("no final line end")
            << QByteArray("[Default Applications]\nimage/png=gimp.desktop;")
            << "[Default Applications]\nimage/png=gimp.desktop;\n" + ours;
    }
    void mergeMimeApps()
    {
        QFETCH(QByteArray, existing);
        QFETCH(QByteArray, expected);
        const QStringList types{"text/html", "application/x-php"};
        const QByteArray merged = mergeMimeAppsList(existing, "K.desktop", types);
        QCOMPARE(merged, expected);
        QCOMPARE(mergeMimeAppsList(merged, "K.desktop", types), merged);
    }

    void templates_data()
    {
        QTest::addColumn<QByteArray>("userDirs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("$HOME/Templates") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n") << "/home/u/Templates";
        QTest::newRow("$HOME/Modèles") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/Mod\xc3\xa8les\"\n") << "/home/u/Modèles";
        QTest::newRow("absolute") << QByteArray("# comment\nXDG_TEMPLATES_DIR=\"/srv/t\"\n") << "/srv/t";
        QTest::newRow("switched off ($HOME/)") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/\"\n") << "";
        QTest::newRow("commented out") << QByteArray("#XDG_TEMPLATES_DIR=\"$HOME/T\"\n") << "";
        QTest::newRow("not named") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n") << "";
        QTest::newRow("unquoted") << QByteArray("XDG_TEMPLATES_DIR=$HOME/T\n") << "";
        QTest::newRow("escaped quote") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/a\\\"b\"\n") << "/home/u/a\"b";
    }
    void templates()
    {
        QFETCH(QByteArray, userDirs);
        QFETCH(QString, expected);
        QCOMPARE(templatesFolder(userDirs, "/home/u"), expected);
    }

    // Only the type nobody else defines gets a file-name pattern.
    void mimePackageGlobsOnlyTheTemplateType()
    {
        QStringList globs;
        QXmlStreamReader xml(mimePackageText());
        QString type;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("mime-type"))
                type = xml.attributes().value("type").toString();
            else if (xml.name() == QLatin1String("glob"))
                globs << type + QLatin1Char(' ') + xml.attributes().value("pattern").toString();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(globs, QStringList{"text/x-kestrin-tpl *.tpl"});
    }

    void installedDesktopEntryMatchesTheRegisteredOne()
    {
        const QByteArray installed = readAll(sourceFile("packaging/com.marvolis.Kestrin4.desktop.in"));
        const QByteArray registered = desktopEntryText("/x/kestrin4");
        for (const QByteArray key : {"Name", "GenericName", "Comment", "Icon", "Categories", "MimeType", "Keywords", "StartupWMClass"})
            QCOMPARE(desktopValue(installed, key), desktopValue(registered, key));
    }

    void writesEveryFile()
    {
        TempHome home;
        writeAll(home.config("user-dirs.dirs"), userDirs.toUtf8());
        QDir().mkpath(home.locations.home + "/Templates");
        RecordingDesktop desktop;
        const XdgRegistrationResult result = registerXdgDocumentTypes(home.locations, "/opt/Kestrin 4/kestrin4");

        const QByteArray entry = readAll(home.data("applications/" + desktopId));
        QCOMPARE(entry, desktopEntryText("/opt/Kestrin 4/kestrin4"));
        QCOMPARE(desktopValue(entry, "Exec"), QByteArray("\"/opt/Kestrin 4/kestrin4\" %f"));
        QCOMPARE(readAll(home.data("mime/packages/kestrin4.xml")), mimePackageText());
        QVERIFY(readAll(":/icons/kestrin4.svg").startsWith("<svg"));
        QCOMPARE(readAll(home.data("icons/hicolor/scalable/apps/kestrin4.svg")), readAll(":/icons/kestrin4.svg"));
        for (const char *t : {"htm", "php", "js", "css", "tpl"}) {
            const QString name = QStringLiteral("kestrin4-%1.svg").arg(QLatin1String(t));
            QVERIFY(readAll(":/icons/" + name).startsWith("<svg"));
            QCOMPARE(readAll(home.data("icons/hicolor/scalable/mimetypes/" + name)), readAll(":/icons/" + name));
        }
        const QByteArray mimeApps = readAll(home.config("mimeapps.list"));
        for (const QString &type : registeredMimeTypes())
            QVERIFY2(mimeApps.contains((type + "=" + desktopId + ";\n").toUtf8()), qPrintable(type));
        const QStringList templates = QDir(home.locations.home + "/Templates").entryList(QDir::Files);
        QCOMPARE(templates.size(), 6);
        for (const QString &name : templateFileNames()) {
            QVERIFY2(templates.contains(name), qPrintable(name));
            QCOMPARE(QFileInfo(home.locations.home + "/Templates/" + name).size(), 0);
        }
        QCOMPARE(result.written.size(), 1 + 5 + 1 + 1 + 1 + 6);

        QStringList expectedTools;
        if (!QStandardPaths::findExecutable("update-mime-database").isEmpty())
            expectedTools << "update-mime-database " + home.data("mime");
        if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty())
            expectedTools << "update-desktop-database " + home.data("applications");
        QCOMPARE(result.toolsStarted, expectedTools);
        QCOMPARE(desktop.started.size(), expectedTools.size());
    }

    void secondRunChangesNothing()
    {
        TempHome home;
        writeAll(home.config("user-dirs.dirs"), userDirs.toUtf8());
        QDir().mkpath(home.locations.home + "/Templates");
        RecordingDesktop desktop;
        registerXdgDocumentTypes(home.locations, "/opt/kestrin4/kestrin4");
        runStartedTools(desktop, home.environment());
        const auto before = home.snapshot();
        desktop.started.clear();
        QTest::qWait(20); // a rewrite would show in the times

        const XdgRegistrationResult again = registerXdgDocumentTypes(home.locations, "/opt/kestrin4/kestrin4");
        QCOMPARE(again.written, QStringList());
        QCOMPARE(again.toolsStarted, QStringList());
        QCOMPARE(desktop.started.size(), 0);
        QCOMPARE(home.snapshot(), before);

        // A cache older than what it was built from is built again.
        QFile cache(home.data("mime/mime.cache"));
        if (!cache.open(QIODevice::ReadWrite))
            QSKIP("update-mime-database is not installed");
        QVERIFY(cache.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        QCOMPARE(registerXdgDocumentTypes(home.locations, "/opt/kestrin4/kestrin4").toolsStarted,
                 QStringList{"update-mime-database " + home.data("mime")});
    }

    // An existing list keeps every other line, and a link to it stays a link.
    void existingMimeAppsKeepsEveryOtherLine_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("plain file") << false;
        QTest::newRow("link to dotfiles") << true;
    }
    void existingMimeAppsKeepsEveryOtherLine()
    {
        QFETCH(bool, linked);
        TempHome home;
        const QByteArray before = "[Default Applications]\n"
                                  "image/png=org.gnome.eog.desktop;\n"
                                  "text/html=firefox-esr.desktop;\n"
                                  "\n"
                                  "[Added Associations]\n"
                                  "text/plain=geany.desktop;\n";
        const QString real = linked ? home.locations.home + "/dotfiles/mimeapps.list" : home.config("mimeapps.list");
        writeAll(real, before);
        if (linked) {
            QDir().mkpath(home.locations.configHome);
            QVERIFY(QFile::link(real, home.config("mimeapps.list")));
        }
        RecordingDesktop desktop;
        registerXdgDocumentTypes(home.locations, "/opt/kestrin4/kestrin4");
        QCOMPARE(QFileInfo(home.config("mimeapps.list")).isSymLink(), linked);
        const QList<QByteArray> after = readAll(real).split('\n');
        for (const QByteArray &line : before.split('\n')) {
            if (!line.startsWith("text/html"))
                QVERIFY2(after.contains(line), line.constData());
        }
        QVERIFY(after.contains("text/html=" + desktopId.toUtf8() + ";firefox-esr.desktop;"));
    }

    void templatesOnlyInAnExistingFolderAndNeverOverwritten()
    {
        TempHome home;
        writeAll(home.config("user-dirs.dirs"), userDirs.toUtf8());
        RecordingDesktop desktop;
        registerXdgDocumentTypes(home.locations, "/opt/kestrin4/kestrin4");
        QVERIFY(!QFileInfo::exists(home.locations.home + "/Templates"));

        writeAll(home.locations.home + "/Templates/PHP Document.php", "<?php\n");
        registerXdgDocumentTypes(home.locations, "/opt/kestrin4/kestrin4");
        QCOMPARE(readAll(home.locations.home + "/Templates/PHP Document.php"), QByteArray("<?php\n"));
        QCOMPARE(QDir(home.locations.home + "/Templates").entryList(QDir::Files).size(), 6);
    }

    void unwritableFolderIsSkipped_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only mount") << "mount";
        QTest::newRow("file where the applications folder belongs") << "file";
        QTest::newRow("data folder under /proc") << "proc";
    }
    void unwritableFolderIsSkipped()
    {
        QFETCH(QString, how);
        TempHome home;
        XdgLocations locations = home.locations;
        const QString mountPoint = home.locations.dataHome;
        if (how == "mount") {
            QDir().mkpath(mountPoint);
            if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "ro,size=64k", "tmpfs", mountPoint}) != 0)
                QSKIP("mount is not allowed here; the other rows cover an unwritable folder");
        } else if (how == "file") {
            writeAll(home.data("applications"), "not a folder");
        } else {
            locations.dataHome = "/proc/kestrin-no-such-folder";
        }
        RecordingDesktop desktop;
        const XdgRegistrationResult result = registerXdgDocumentTypes(locations, "/opt/kestrin4/kestrin4");
        if (how == "mount")
            QProcess::execute("umount", {mountPoint});

        QVERIFY(!result.written.contains(locations.dataHome + "/applications/" + desktopId));
        // The folders that can be written still are.
        QVERIFY(result.written.contains(home.config("mimeapps.list")));
        QVERIFY(readAll(home.config("mimeapps.list")).contains(desktopId.toUtf8()));
        QVERIFY(!result.toolsStarted.contains("update-desktop-database " + locations.dataHome + "/applications"));
    }

    void gioFindsKestrinAndTheTemplateType()
    {
        if (QStandardPaths::findExecutable("gio").isEmpty())
            QSKIP("GLib's gio (libglib2.0-bin) is not installed");
        if (!QFileInfo(builtExecutable()).isExecutable())
            QSKIP("the kestrin4 executable is not built");
        TempHome home;
        RecordingDesktop desktop;
        registerXdgDocumentTypes(home.locations, builtExecutable());
        runStartedTools(desktop, home.environment());

        for (const char *type : {"application/x-php", "text/html", "text/css", "application/javascript", "text/x-kestrin-tpl"}) {
            const QString out = gio(home, {"mime", QLatin1String(type)});
            QVERIFY2(out.contains(QStringLiteral(": %1\n").arg(desktopId)) && out.startsWith("Default application"),
                     qPrintable(out));
        }
        writeAll(home.locations.home + "/x.tpl", "{$title}\n");
        const QString info = gio(home, {"info", "-a", "standard::content-type", "x.tpl"}, home.locations.home);
        QVERIFY2(info.contains("standard::content-type: text/x-kestrin-tpl"), qPrintable(info));
    }

    void gioStartsTheProgramFromAFolderWithSpaces()
    {
        if (QStandardPaths::findExecutable("gio").isEmpty())
            QSKIP("GLib's gio (libglib2.0-bin) is not installed");
        TempHome home(QStringLiteral("my home $HOME"));
        // A stand-in for the program that writes down the arguments it was given. (No "%": GLib
        // looks for the program before it undoes "%%", so it would pass over such an entry.)
        const QString folder = home.locations.home + "/Program Files \"q\" $x `y`";
        const QString program = folder + "/kestrin4";
        const QString record = home.locations.home + "/arguments";
        writeAll(program, QStringLiteral("#!/bin/sh\nprintf '%s|' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                              .arg(QString(record).replace("'", "'\\''"))
                              .toUtf8());
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        RecordingDesktop desktop;
        registerXdgDocumentTypes(home.locations, program);
        runStartedTools(desktop, home.environment());

        const QString page = home.locations.home + "/a page.php";
        writeAll(page, "<?php echo 1; ?>\n");
        const QString out = gio(home, {"open", page});
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(record), qPrintable(out), 10000);
        QCOMPARE(QString::fromUtf8(readAll(record)), page + "|");
    }

    void entryPointUsesTheRunningExecutable()
    {
        TempHome home;
        const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_DATA_HOME"), qgetenv("XDG_CONFIG_HOME")};
        qputenv("HOME", home.locations.home.toUtf8());
        qputenv("XDG_DATA_HOME", home.locations.dataHome.toUtf8());
        qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
        RecordingDesktop desktop;
        RegisterDocumentTypes();
        qputenv("HOME", saved[0]);
        saved[1].isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved[1]);
        saved[2].isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved[2]);

        const QByteArray entry = readAll(home.data("applications/" + desktopId));
        QCOMPARE(desktopValue(entry, "Exec"),
                 desktopExecArgument(QCoreApplication::applicationFilePath()).toUtf8() + " %f");
        QVERIFY(QFileInfo::exists(home.locations.home + "/.config/mimeapps.list"));
    }
};

KESTRIN_REGISTER_TEST(TestRegistrationXdg);
#include "tst_registration_xdg.moc"
