#include "ScriptedPrompter.h"
#include "FileBytes.h"
#include "TestRegistry.h"

#include "app/Registration.h"
#include "app/RegistrationXdg.h"

#include <QtTest>

using namespace kestrin;
using kestrin::test::readBytes;
using kestrin::test::writeBytes;
using kestrin::test::RecordingDesktop;

namespace {

QByteArray desktopValue(const QByteArray &entry, const QByteArray &key)
{
    const qsizetype at = ('\n' + entry).indexOf('\n' + key + '=');
    return at < 0 ? "<none>" : entry.mid(at + key.size() + 1).split('\n').first();
}

const QString desktopId = QLatin1String(kestrinDesktopId);

// A home folder of its own for this process and the programs it runs, its XDG folders in their
// default places (a relative XDG_CONFIG_HOME is ignored) and user-dirs.dirs naming $HOME/Templates
// (which exists only when asked for).
struct TempHome {
    QTemporaryDir dir;
    const QProcessEnvironment saved = QProcessEnvironment::systemEnvironment();
    XdgLocations at;
    QString templates;
    explicit TempHome(bool withTemplates = true, const QString &name = QStringLiteral("home"))
    {
        qputenv("HOME", (dir.path() + '/' + name).toUtf8());
        qputenv("XDG_DATA_HOME", (dir.path() + '/' + name + "/.local/share").toUtf8());
        qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
        at = XdgLocations::fromEnvironment();
        templates = at.home + "/Templates";
        QDir().mkpath(withTemplates ? templates : at.home);
        QVERIFY(writeBytes(at.configHome + "/user-dirs.dirs", "XDG_TEMPLATES_DIR=\"$HOME/Templates\"\n"));
    }
    ~TempHome()
    {
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            saved.contains(name) ? qputenv(name, saved.value(name).toUtf8()) : qunsetenv(name);
    }
    // Runs a program in this home to its end; its output.
    QString run(const QString &program, const QStringList &arguments) const
    {
        QProcess p;
        p.setWorkingDirectory(at.home);
        p.start(program, arguments);
        const bool ok = p.waitForFinished(30000) && p.exitCode() == 0;
        return (ok ? "" : "failed: ") + QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    }
    // Registers, then runs the database tools it asked for, as the detached start would.
    XdgRegistrationResult registerFor(const QString &executable) const
    {
        RecordingDesktop desktop;
        const XdgRegistrationResult result = registerXdgDocumentTypes(at, executable);
        for (const auto &[program, arguments] : std::as_const(desktop.started))
            run(program, arguments);
        return desktop.started.size() == result.toolsStarted.size() ? result : XdgRegistrationResult{{"<tools started>"}, {}};
    }
};

} // namespace

class TestRegistrationXdg : public QObject {
    Q_OBJECT

private slots:
    void mergeMimeApps_data()
    {
        const QByteArray head = "[Default Applications]\n", ours = "text/html=K;\napplication/x-php=K;\n";
        QTest::addColumn<QByteArray>("existing"), QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no file") << QByteArray() << head + ours;
        QTest::newRow("other section") << QByteArray("[Added]\nimage/png=g;\n") << "[Added]\nimage/png=g;\n\n" + head + ours;
        QTest::newRow("other types kept") << head + "image/png=g;\n\n[Removed]\ntext/css=x;\n"
                                          << head + "image/png=g;\n" + ours + "\n[Removed]\ntext/css=x;\n";
        QTest::newRow("another editor first") << head + "text/html=f;\n# mine\napplication/x-php=g;K;\n"
                                              << head + "text/html=K;f;\n# mine\napplication/x-php=K;g;\n";
        QTest::newRow("ours first, spacing kept") << head + "text/html = K;f\napplication/x-php=K;\n"
                                                  << head + "text/html = K;f\napplication/x-php=K;\n";
        QTest::newRow("comment last") << head + "image/png=g;\n# end\n" << head + "image/png=g;\n" + ours + "# end\n";
        QTest::newRow("no final line end") << head + "image/png=g;" << head + "image/png=g;\n" + ours;
    }
    void mergeMimeApps()
    {
        QFETCH(QByteArray, existing); QFETCH(QByteArray, expected);
        const QByteArray merged = mergeMimeAppsList(existing, "K", {"text/html", "application/x-php"});
        QCOMPARE(merged, expected);
        QCOMPARE(mergeMimeAppsList(merged, "K", {"text/html", "application/x-php"}), merged);
    }

    void templates_data()
    {
        QTest::addColumn<QByteArray>("userDirs"), QTest::addColumn<QString>("expected");
        QTest::newRow("$HOME/Modèles") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/Mod\xc3\xa8les\"\n") << "/home/u/Modèles";
        QTest::newRow("absolute") << QByteArray("# comment\nXDG_TEMPLATES_DIR=\"/srv/t\"\n") << "/srv/t";
        QTest::newRow("switched off") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/\"\n") << "";
        QTest::newRow("commented out") << QByteArray("#XDG_TEMPLATES_DIR=\"$HOME/T\"\n") << "";
        QTest::newRow("unquoted") << QByteArray("XDG_TEMPLATES_DIR=$HOME/T\n") << "";
        QTest::newRow("escaped quote") << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/a\\\"b\"\n") << "/home/u/a\"b";
    }
    void templates()
    {
        QFETCH(QByteArray, userDirs); QFETCH(QString, expected);
        QCOMPARE(templatesFolder(userDirs, "/home/u"), expected);
    }

    // The packaged desktop entry says what the registered one says, in every language; only the
    // type nobody else defines gets a file-name pattern; "%", "\", "$" and "`" quoted (gio checks
    // spaces and quotes).
    void entryAndPackage()
    {
        const QByteArray installed =
            readBytes(qEnvironmentVariable("KESTRIN_SOURCE_DIR") + "/packaging/com.marvolis.Kestrin4.desktop.in");
        for (const QByteArray key : {"Name", "GenericName", "Comment", "Icon", "Categories", "MimeType", "Keywords", "StartupWMClass"})
            for (const QByteArray language : {"", "[de]", "[es]"})
                QCOMPARE(desktopValue(installed, key + language), desktopValue(desktopEntryText("/x/k"), key + language));
        // The packaged template type is the one registered, descriptions in every language included.
        const QByteArray mime = readBytes(qEnvironmentVariable("KESTRIN_SOURCE_DIR") + "/packaging/kestrin4-mime.xml");
        const qsizetype tpl = mime.indexOf("  <mime-type");
        QVERIFY(tpl > 0 && mimePackageText().contains(mime.mid(tpl, mime.indexOf("</mime-type>\n") + 13 - tpl)));
        QCOMPARE(mimePackageText().count("<glob "), 1);
        QCOMPARE(desktopExecArgument("/a%b\\c$d`e"), QStringLiteral("\"/a%%b\\\\\\\\c\\\\$d\\\\`e\""));
    }

    // Start-up registers the running executable: every file once, through a linked mimeapps.list
    // and around a filled-in template; a second run writes and starts nothing while the caches
    // are fresh.
    void writesEveryFileOnce()
    {
        const QString exe = QCoreApplication::applicationFilePath();
        TempHome home;
        QVERIFY(writeBytes(home.at.home + "/dotfiles/mimeapps.list", "[Default Applications]\ntext/html=firefox;\n"));
        QVERIFY(QFile::link(home.at.home + "/dotfiles/mimeapps.list", home.at.configHome + "/mimeapps.list"));
        QVERIFY(writeBytes(home.templates + "/PHP Document.php", "<?php\n"));
        RecordingDesktop desktop;
        RegisterDocumentTypes();
        QCOMPARE(readBytes(home.at.dataHome + "/applications/" + desktopId), desktopEntryText(exe));
        QCOMPARE(readBytes(home.at.dataHome + "/mime/packages/kestrin4.xml"), mimePackageText());
        for (const QString icon : {"apps/kestrin4", "mimetypes/kestrin4-htm", "mimetypes/kestrin4-php", "mimetypes/kestrin4-js",
                                   "mimetypes/kestrin4-css", "mimetypes/kestrin4-tpl"})
            QCOMPARE(readBytes(home.at.dataHome + "/icons/hicolor/scalable/" + icon + ".svg"), readBytes(":/icons/" + icon.section('/', 1) + ".svg"));
        QVERIFY(QFileInfo(home.at.configHome + "/mimeapps.list").isSymLink());
        QCOMPARE(readBytes(home.at.home + "/dotfiles/mimeapps.list"),
                 mergeMimeAppsList("[Default Applications]\ntext/html=firefox;\n", desktopId, registeredMimeTypes()));
        for (const QString &name : templateFileNames())
            QCOMPARE(readBytes(home.templates + '/' + name), QByteArray(name.endsWith(".php") ? "<?php\n" : ""));
        QCOMPARE(desktop.started.size(), 2);
        for (const auto &[program, arguments] : std::as_const(desktop.started))
            QVERIFY(!home.run(program, arguments).startsWith("failed"));

        const XdgRegistrationResult again = home.registerFor(exe);
        QCOMPARE(again.written + again.toolsStarted, QStringList());
        // A cache older than what it was built from is built again.
        QFile cache(home.at.dataHome + "/mime/mime.cache");
        QVERIFY(cache.open(QIODevice::ReadWrite));
        QVERIFY(cache.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        QCOMPARE(home.registerFor(exe).toolsStarted, QStringList{"update-mime-database " + home.at.dataHome + "/mime"});
        QString moved = exe; // the program moved to a path of the same length: its entry follows
        moved.back() = QLatin1Char(moved.back() == QLatin1Char('x') ? 'y' : 'x');
        home.registerFor(moved);
        QCOMPARE(readBytes(home.at.dataHome + "/applications/" + desktopId), desktopEntryText(moved));
    }

    // What cannot be written is skipped and the rest still is; no Templates folder is made.
    void unwritableFolderIsSkipped()
    {
        TempHome home(false);
        QVERIFY(writeBytes(home.at.dataHome + "/applications", "not a folder"));
        const XdgRegistrationResult result = home.registerFor("/opt/kestrin4/kestrin4");
        QVERIFY(!result.toolsStarted.join(' ').contains("update-desktop-database"));
        QCOMPARE(result.written.size(), 6 + 1 + 1);
        QVERIFY(readBytes(home.at.configHome + "/mimeapps.list").contains(desktopId.toUtf8()));
        QVERIFY(!QFileInfo::exists(home.templates));
    }

    // What the desktop makes of it: the default for every type, the template type by its name,
    // and a page opened with a program in a folder full of characters to quote.
    void gioUsesTheRegistration()
    {
        TempHome home(false, QStringLiteral("my home $HOME"));
        // A stand-in that writes down its arguments. (No "%": GLib looks for the program before
        // it undoes "%%", so it would pass over such an entry.)
        const QString program = home.at.home + "/Program Files \"q\" $x `y`/kestrin4", record = home.at.home + "/args";
        writeBytes(program, QStringLiteral("#!/bin/sh\nprintf '%s|' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                              .arg(QString(record).replace("'", "'\\''")).toUtf8());
        QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
        home.registerFor(program);
        for (const char *type : {"application/x-php", "text/html", "text/css", "application/javascript", "text/x-kestrin-tpl"}) {
            const QString out = home.run("gio", {"mime", QLatin1String(type)});
            QVERIFY2(out.startsWith("Default application") && out.contains(": " + desktopId + "\n"), qPrintable(out));
        }
        QVERIFY(writeBytes(home.at.home + "/x.tpl", "{$title}\n"));
        const QString info = home.run("gio", {"info", "-a", "standard::content-type", "x.tpl"});
        QVERIFY2(info.contains("standard::content-type: text/x-kestrin-tpl"), qPrintable(info));
        QVERIFY(writeBytes(home.at.home + "/a page.php", "<?php echo 1; ?>\n"));
        const QString out = home.run("gio", {"open", home.at.home + "/a page.php"});
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(record), qPrintable(out), 10000);
        QCOMPARE(QString::fromUtf8(readBytes(record)), home.at.home + "/a page.php|");
    }
};

KESTRIN_REGISTER_TEST(TestRegistrationXdg);
#include "tst_registration_xdg.moc"
