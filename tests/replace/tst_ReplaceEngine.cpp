// The text steps and path arithmetic of the multi-file runs.
#include "TestRegistry.h"

#include "replace/ReplaceEngine.h"
#include "replace/ReplacePaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace kestrin;

namespace {

// The plain definition, for comparing against on random texts.
QByteArray naiveReplace(const QByteArray &text, const QByteArray &find, const QByteArray &replacement)
{
    if (find.isEmpty())
        return text;
    QByteArray out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (i + find.size() <= text.size() && text.mid(i, find.size()) == find) {
            out += replacement;
            i += find.size();
        } else {
            out += text.at(i++);
        }
    }
    return out;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class ReplaceEngineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replaceAll_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("find");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("color->colour over 'Color color colorcolor'")
            << QByteArray("Color color colorcolor") << QByteArray("color") << QByteArray("colour")
            << QByteArray("Color colour colourcolour");
        QTest::newRow("a->aa over 'aaa'") << QByteArray("aaa") << QByteArray("a") << QByteArray("aa")
                                          << QByteArray("aaaaaa");
        QTest::newRow("empty find over 'abc'") << QByteArray("abc") << QByteArray() << QByteArray("x")
                                               << QByteArray("abc");
        QTest::newRow("empty replacement deletes 'b' in 'abcb'") << QByteArray("abcb") << QByteArray("b")
                                                                 << QByteArray() << QByteArray("ac");
        QTest::newRow("'aa' in 'aaaaa' does not overlap") << QByteArray("aaaaa") << QByteArray("aa")
                                                          << QByteArray("b") << QByteArray("bba");
        QTest::newRow("'aba' in 'ababa' takes the leftmost") << QByteArray("ababa") << QByteArray("aba")
                                                             << QByteArray("X") << QByteArray("Xba");
        QTest::newRow("find longer than text") << QByteArray("ab") << QByteArray("abc") << QByteArray("x")
                                               << QByteArray("ab");
        QTest::newRow("empty text") << QByteArray() << QByteArray("a") << QByteArray("b") << QByteArray();
        QTest::newRow("CR LF is ordinary text") << QByteArray("a\r\nb\r\n") << QByteArray("\r\n")
                                                << QByteArray(" ") << QByteArray("a b ");
        QTest::newRow("match at both ends") << QByteArray("<b>x<b>") << QByteArray("<b>") << QByteArray("<strong>")
                                            << QByteArray("<strong>x<strong>");
        QTest::newRow("case-sensitive 'É' vs 'é'") << QByteArray("\xc3\xa9t\xc3\xa9 \xc3\x89t\xc3\xa9")
                                                   << QByteArray("\xc3\xa9") << QByteArray("e")
                                                   << QByteArray("ete \xc3\x89te");
        QTest::newRow("whole text replaced") << QByteArray("abc") << QByteArray("abc") << QByteArray()
                                             << QByteArray();
    }
    void replaceAll()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, find);
        QFETCH(QByteArray, replacement);
        QFETCH(QByteArray, expected);
        QCOMPARE(kestrin::replaceAll(text, find, replacement), expected);
        QCOMPARE(countOccurrences(text, find), find.isEmpty() ? 0 : naiveReplace(text, find, "\x01").count('\x01'));
    }

    void addLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("added");
        QTest::addColumn<bool>("atEnd");
        QTest::addColumn<QByteArray>("lineBreak");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("'footer' to end of 'x'") << QByteArray("x") << QByteArray("footer") << true
                                                << QByteArray("\r\n") << QByteArray("x\r\nfooter");
        QTest::newRow("'footer' to beginning of 'x'") << QByteArray("x") << QByteArray("footer") << false
                                                      << QByteArray("\r\n") << QByteArray("footer\r\nx");
        QTest::newRow("empty to end of 'x'") << QByteArray("x") << QByteArray() << true << QByteArray("\r\n")
                                             << QByteArray("x\r\n");
        QTest::newRow("empty to beginning of 'x'") << QByteArray("x") << QByteArray() << false
                                                   << QByteArray("\r\n") << QByteArray("\r\nx");
        QTest::newRow("'footer' to end of 'x LF' with LF") << QByteArray("x\n") << QByteArray("footer") << true
                                                           << QByteArray("\n") << QByteArray("x\n\nfooter");
        QTest::newRow("'f' to end of empty text with CR") << QByteArray() << QByteArray("f") << true
                                                          << QByteArray("\r") << QByteArray("\rf");
    }
    void addLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, added);
        QFETCH(bool, atEnd);
        QFETCH(QByteArray, lineBreak);
        QFETCH(QByteArray, expected);
        QCOMPARE(kestrin::addLine(text, added, atEnd, lineBreak), expected);
    }

    void listEntry_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root '/'") << "/" << "a.htm" << "/a.htm";
        QTest::newRow("'/web'") << "/web" << "a.htm" << "/web/a.htm";
        QTest::newRow("'/srv/www/site'") << "/srv/www/site" << "index.php" << "/srv/www/site/index.php";
    }
    void listEntry()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(kestrin::listEntry(folder, name), expected);
    }

    void folderChain_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("shown"); // the names the folder tree shows
        QTest::newRow("'/'") << "/" << QStringList{"/"} << QStringList{"/"};
        QTest::newRow("'/home/ann/web/'") << "/home/ann/web/" << QStringList{"/", "/home", "/home/ann", "/home/ann/web"}
                                          << QStringList{"/", "home", "ann", "web"};
    }
    void folderChain()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, shown);
        QCOMPARE(kestrin::folderChain(folder), expected);
        QStringList names;
        for (const QString &f : expected)
            names << folderDisplayName(f);
        QCOMPARE(names, shown);
    }

    void volumeOf_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("shownWhenChosen"); // folderOnVolume of expected for /home/ann
        QTest::newRow("'/home/ann' on '/home'") << "/home/ann" << "/home" << "/home/ann";
        QTest::newRow("'/home' on '/home'") << "/home" << "/home" << "/home/ann";
        QTest::newRow("'/homework' on '/'") << "/homework" << "/" << "/";
        QTest::newRow("'/mnt/usb/x' on '/mnt/usb'") << "/mnt/usb/x" << "/mnt/usb" << "/mnt/usb";
    }
    void volumeOf()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QFETCH(QString, shownWhenChosen);
        const QStringList roots{"/", "/home", "/mnt/usb"};
        QCOMPARE(kestrin::volumeOf(roots, folder), expected);
        QCOMPARE(kestrin::folderOnVolume(roots, expected, "/home/ann"), shownWhenChosen);
    }

    void mountedVolumesStartWithRoot()
    {
        QStringList roots = mountedVolumeRoots();
        QVERIFY(!roots.isEmpty());
        QCOMPARE(roots.first(), QDir::rootPath());
        QCOMPARE(roots.removeDuplicates(), 0);
    }

    void matchingFilesFollowsPattern()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char *name : {"a.htm", "b.html", "c.php", "d.tpl", "e.css", "f.js", "G.HTM", "notes.txt",
                                 "x.json", "page.htm.bak", ".hidden.htm"})
            QVERIFY(writeBytes(dir.filePath(name), "x"));
        QVERIFY(QDir(dir.path()).mkdir("sub.htm"));
        QCOMPARE(matchingFiles(dir.path(), webSourcePattern()),
                 (QStringList{"a.htm", "b.html", "c.php", "d.tpl", "e.css", "f.js", "G.HTM"}));
        QCOMPARE(subfolderNames(dir.path()), QStringList{"sub.htm"});
    }

    void writeProblem_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("refused");
        QTest::newRow("ordinary file") << "ordinary" << false;
        QTest::newRow("missing file") << "missing" << true;
        QTest::newRow("read-only file") << "read-only" << true;
    }
    void writeProblem()
    {
        QFETCH(QString, kind);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        QString path = dir.filePath("f.htm");
        QVERIFY(writeBytes(path, "x"));
        bool locked = false;
        auto unlock = qScopeGuard([&] {
            if (locked)
                QProcess::execute("chattr", {"-i", path});
        });
        if (kind == "missing") {
            path = dir.filePath("gone.htm");
        } else if (kind == "read-only") {
            // Root may write any mode; for root only an immutable file is read-only.
            locked = ::geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0
                                      : QFile::setPermissions(path, QFile::ReadOwner);
            if (!locked)
                QSKIP("chattr +i is not available on this file system");
        }
        QCOMPARE(!kestrin::writeProblem(path).isEmpty(), refused);
    }
};

KESTRIN_REGISTER_TEST(ReplaceEngineTest);

#include "tst_ReplaceEngine.moc"
