#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/CommandLine.h"
#include "app/ProcessPolicy.h"
#include "app/QuitWhenNoWindows.h"
#include "common/CommonDialog.h"

#include <QtTest>
#include <QtWidgets>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

using namespace kestrin;

namespace {

// A disk that stores long names in their own case and answers for short names and any case,
// the way a case-insensitive file system with 8.3 aliases does.
class FakeDisk final : public DirectorySearch {
public:
    QHash<QString, QString> entries; // upper-case query -> stored name
    QString entryName(const QString &path) const override { return entries.value(path.toUpper()); }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The document a command line names, or "" when it names no known type (the start ends).
    void commandLine_data()
    {
        QTest::addColumn<QString>("line"), QTest::addColumn<QString>("expected");
        const auto row = [](const char *line, const char *expected) { QTest::newRow(line) << line << expected; };
        for (const char *unknown : {"notes.txt", "x", "a.js", "a.php", "/x/html/readme"}) row(unknown, "");
        row("ab.php", "/home/web/ab.php"), row("index.phps", "/home/web/index.phps");
        row("/home/u/mycss", "/home/u/mycss"), row("/srv/www/index.HTM", "/srv/www/index.HTM");
        row("site/../site/a.php", "/home/web/site/a.php"), row("/srv/Index.php", "/srv/index.php");
        row(":x.html", "/home/web/:x.html"), row("\"/home/web/my page.htm\"", "/home/web/my page.htm");
        row("C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM", "C:\\Program Files\\My Site Pages\\index.html");
        row("c:\\web\\Page.Html", "c:\\Web\\page.html"), row("C:\\Docs\\new.htm", "C:\\Docs\\new.htm");
        row("C:web\\a.htm", "C:\\web\\a.htm"), row("C:\\site\\app.jsp", "C:\\site\\app.jsp");
    }
    void commandLine()
    {
        QFETCH(QString, line); QFETCH(QString, expected);
        FakeDisk disk;
        for (const QString stored : {"C:\\PROGRA~1=Program Files", "C:\\PROGRA~1\\MYSITE~1=My Site Pages", "c:\\web=Web",
                                     "C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM=index.html", "c:\\web\\Page.Html=page.html", "C:\\Docs=Docs",
                                     "C:=<drive looked up>", "/home=home", "/home/web=web", "/home/web/site=site", "/srv=srv",
                                     "/srv/Index.php=index.php"})
            disk.entries.insert(stored.section('=', 0, 0).toUpper(), stored.section('=', 1));
        QCOMPARE(namesKnownDocumentType(line), !expected.isEmpty());
        if (!expected.isEmpty()) QCOMPARE(commandLineDocumentPath(line, QStringLiteral("/home/web"), disk), expected);
    }

    // Only a start that Qt takes to X holds the X display: QT_QPA_PLATFORM|WAYLAND_DISPLAY set|XDG_SESSION_TYPE.
    void startsOnX11_data()
    {
        QTest::addColumn<bool>("x11");
        for (const char *env : {"||", "||x11", "xcb|1|wayland", "xcb:nomitshm|1|", "xcb;wayland|1|"}) QTest::newRow(env) << true;
        for (const char *env : {"|1|", "||wayland", "|1|x11", "wayland;xcb||", "offscreen||"}) QTest::newRow(env) << false;
    }
    void startsOnX11()
    {
        QFETCH(bool, x11);
        const QList<QByteArray> env = QByteArray(QTest::currentDataTag()).split('|');
        QCOMPARE(kestrin::startsOnX11(env[0], env[1] == "1", env[2]), x11);
    }

    // A case-sensitive disk: the name as given, even beside one in another case.
    void realDiskKeepsStoredNames()
    {
        QTemporaryDir dir;
        const QString site = dir.filePath(QStringLiteral("Site Pages/"));
        QVERIFY(QDir().mkpath(site));
        for (const char *stored : {"Index.htm", "index.htm"})
            QVERIFY(QFile(site + QLatin1String(stored)).open(QIODevice::WriteOnly));
        for (const char *name : {"Index.htm", "index.htm", "new.htm"})
            QCOMPARE(LongPathName(site + QLatin1String(name)), site + QLatin1String(name));
    }

    // As Main, the test's main applied the policy: the heap keeps room and a freed large block.
    void processPolicy()
    {
#if !defined(__SANITIZE_ADDRESS__) && defined(__GLIBC__)
        QVERIFY(mallinfo2().arena >= 256u << 20);
        const size_t block = 64u << 20;
        std::free(std::memset(std::malloc(block), 1, block));
        QVERIFY(mallinfo2().fordblks >= block);
#endif
        const auto open = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
        const auto before = open();
        prefetchDocument(QCoreApplication::applicationFilePath()); // leaves no descriptor behind
        QCOMPARE(open(), before);
    }

    // Only a shown window keeps the program running, a tool window as well as the editor.
    void quitPolicy()
    {
        QWidget hidden, tool(nullptr, Qt::Tool);
        QVERIFY(!QuitWhenNoWindows::anyWindowShown());
        tool.show();
        QVERIFY(QuitWhenNoWindows::anyWindowShown());
    }

    // The file dialog keeps the filter the user left it on; Save always asks before overwriting.
    void commonDialogSave()
    {
        test::ScriptedPrompter prompter;
        prompter.answerFile(QStringLiteral("/x/a.htm"), 2);
        CommonDialog dialog;
        QVERIFY(dialog.ShowSave());
        QCOMPARE(dialog.FileName + QString::number(dialog.FilterIndex), QStringLiteral("/x/a.htm2"));
        QVERIFY(prompter.asked.at(0).file.confirmOverwrite);
    }
};

KESTRIN_REGISTER_TEST(StartupTest);
#include "tst_startup.moc"
