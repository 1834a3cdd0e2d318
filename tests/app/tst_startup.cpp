#include "TestRegistry.h"

#include "app/modMain.h"

#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrin;

namespace {

// A disk that stores long names in their own case and answers for short names and any case,
// the way a case-insensitive file system with 8.3 aliases does.
class FakeDisk final : public DirectorySearch {
public:
    // "C:\Program Files" reachable also as "C:\PROGRA~1", and so on.
    void add(const QString &query, const QString &storedName) { m_entries.insert(query.toUpper(), storedName); }
    QString entryName(const QString &path) const override
    {
        m_queries << path;
        return m_entries.value(path.toUpper());
    }
    mutable QStringList m_queries;

private:
    QHash<QString, QString> m_entries;
};

FakeDisk windowsDisk()
{
    FakeDisk disk;
    disk.add(QStringLiteral("C:\\PROGRA~1"), QStringLiteral("Program Files"));
    disk.add(QStringLiteral("C:\\Program Files"), QStringLiteral("Program Files"));
    disk.add(QStringLiteral("C:\\PROGRA~1\\MYSITE~1"), QStringLiteral("My Site Pages"));
    disk.add(QStringLiteral("C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM"), QStringLiteral("index.html"));
    disk.add(QStringLiteral("c:\\web"), QStringLiteral("Web"));
    disk.add(QStringLiteral("c:\\web\\Page.Html"), QStringLiteral("page.html"));
    disk.add(QStringLiteral("C:\\Docs"), QStringLiteral("Docs"));
    return disk;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void classification_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("known");
        QTest::newRow("notes.txt") << "notes.txt" << false;
        QTest::newRow("c:\\web\\Page.Html") << "c:\\web\\Page.Html" << true;
        QTest::newRow("/srv/www/index.HTM") << "/srv/www/index.HTM" << true;
        QTest::newRow("page.php") << "page.php" << true;
        QTest::newRow("C:\\site\\app.jsp") << "C:\\site\\app.jsp" << true;
        QTest::newRow("index.phps") << "index.phps" << true;
        QTest::newRow("trailing quote") << "\"C:\\My Site\\a.htm\"" << true;
        QTest::newRow("folder tail") << "/home/u/mycss" << true;
        QTest::newRow("HTML earlier than the tail") << "/x/html/readme" << false;
        QTest::newRow("1 character") << "x" << false;
        QTest::newRow("5 characters a.php") << "a.php" << false;
        QTest::newRow("4 characters a.js") << "a.js" << false;
        QTest::newRow("6 characters ab.php") << "ab.php" << true;
    }
    void classification()
    {
        QFETCH(QString, commandLine);
        QFETCH(bool, known);
        QCOMPARE(namesKnownDocumentType(commandLine), known);
    }

    void longPathName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short names") << "C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM"
                                     << "C:\\Program Files\\My Site Pages\\index.html";
        QTest::newRow("stored case, drive kept") << "c:\\web\\Page.Html" << "c:\\Web\\page.html";
        QTest::newRow("missing last component keeps its name") << "C:\\Docs\\new.htm" << "C:\\Docs\\new.htm";
        QTest::newRow("no leading separator keeps its first letter") << "web\\a.htm" << "\\web\\a.htm";
        QTest::newRow("backslashes without drive") << "\\web\\Page.Html" << "\\web\\Page.Html";
    }
    void longPathName()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const FakeDisk disk = windowsDisk();
        QCOMPARE(LongPathName(path, disk), expected);
    }

    void longPathNameNeverLooksUpTheDrive()
    {
        const FakeDisk disk = windowsDisk();
        LongPathName(QStringLiteral("C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM"), disk);
        QCOMPARE(disk.m_queries, (QStringList{"C:\\PROGRA~1", "C:\\PROGRA~1\\MYSITE~1",
                                              "C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM"}));
    }

    void commandLinePath_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("expected");
        QTest::newRow("relative page.htm") << "page.htm" << "/home/web/page.htm";
        QTest::newRow("relative with folder") << "site/../site/a.php" << "/home/web/site/a.php";
        QTest::newRow("absolute") << "/srv/Index.php" << "/srv/index.php";
        QTest::newRow("relative :x.html") << ":x.html" << "/home/web/:x.html";
        QTest::newRow("quoted with spaces") << "\"/home/web/my page.htm\"" << "/home/web/my page.htm";
        QTest::newRow("windows short names") << "C:\\PROGRA~1\\MYSITE~1\\INDEX~1.HTM"
                                             << "C:\\Program Files\\My Site Pages\\index.html";
    }
    void commandLinePath()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, expected);
        FakeDisk disk = windowsDisk();
        disk.add(QStringLiteral("/home"), QStringLiteral("home"));
        disk.add(QStringLiteral("/home/web"), QStringLiteral("web"));
        disk.add(QStringLiteral("/home/web/site"), QStringLiteral("site"));
        disk.add(QStringLiteral("/srv"), QStringLiteral("srv"));
        disk.add(QStringLiteral("/srv/Index.php"), QStringLiteral("index.php"));
        QCOMPARE(commandLineDocumentPath(commandLine, QStringLiteral("/home/web"), disk), expected);
    }

    void realDiskKeepsStoredNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Index.htm beside index.htm") << "Index.htm";
        QTest::newRow("index.htm beside Index.htm") << "index.htm";
        QTest::newRow("missing new.htm") << "new.htm"; // stays a usable path
    }
    void realDiskKeepsStoredNames()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Site Pages")));
        for (const char *stored : {"Index.htm", "index.htm"}) {
            QFile file(dir.filePath(QStringLiteral("Site Pages/") + QLatin1String(stored)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = dir.filePath(QStringLiteral("Site Pages/") + name);
        QCOMPARE(LongPathName(path), path);
    }
};

KESTRIN_REGISTER_TEST(StartupTest);
#include "tst_startup.moc"
