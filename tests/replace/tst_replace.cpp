// The multi-file replace: its text steps and path arithmetic, the window's file picking, and the
// runs over real files.
#include "ScriptedPrompter.h"
#include "FileBytes.h"
#include "TestRegistry.h"

#include "replace/FolderList.h"
#include "replace/ReplaceEngine.h"
#include "replace/ReplacePaths.h"
#include "replace/frmReplace.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <unistd.h>

#include <memory>

using namespace kestrin;
using kestrin::test::readBytes;
using kestrin::test::writeBytes;
using kestrin::test::ScriptedPrompter;

namespace {

QString goldenDir(const QString &kind)
{
    return qEnvironmentVariable("KESTRIN_SOURCE_DIR", QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../..")
           + "/tests/replace/golden/" + kind;
}

QStringList entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Root may write any mode; for root only an immutable file is read-only. Undone when the guard goes.
auto makeReadOnly(const QString &path, bool *done)
{
    *done = !path.isEmpty()
            && (::geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0 : QFile::setPermissions(path, QFile::ReadOwner));
    return qScopeGuard([path, locked = *done] {
        if (locked && ::geteuid() == 0)
            QProcess::execute("chattr", {"-i", path});
    });
}

} // namespace

class frmReplaceTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<QTemporaryDir> dir;
    QString startFolder = QDir::currentPath();

    // A shown window over the given files (created with text), listed when list is set.
    std::unique_ptr<frmReplace> window(const QStringList &names = {}, const QByteArray &text = "x", bool list = true)
    {
        QStringList paths;
        for (const QString &name : names) {
            paths << dir->filePath(name);
            if (!writeBytes(paths.last(), text))
                return nullptr;
        }
        auto w = std::make_unique<frmReplace>();
        if (list)
            w->List1->addItems(paths);
        w->show();
        return QTest::qWaitForWindowExposed(w.get()) ? std::move(w) : nullptr;
    }

private Q_SLOTS:
    void init()
    {
        prompter = std::make_unique<ScriptedPrompter>();
        dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        prompter.reset();
        dir.reset();
        QDir::setCurrent(startFolder);
    }

    // Per row: a folder, its chain of folders with the names the tree shows, its volume among
    // "/", "/home", "/mnt/usb", and the folder a change to that volume shows from /home/ann.
    void paths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("/") << "/" << QStringList{"/"} << "/" << "/";
        QTest::newRow("/home/ann/web/") << "/home/ann/web/" << QStringList{"/", "home", "ann", "web"} << "/home" << "/home/ann";
        QTest::newRow("/homework") << "/homework" << QStringList{"/", "homework"} << "/" << "/";
        QTest::newRow("/mnt/usb/x") << "/mnt/usb/x" << QStringList{"/", "mnt", "usb", "x"} << "/mnt/usb" << "/mnt/usb";
    }
    void paths()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, shown);
        QFETCH(QString, volume);
        QFETCH(QString, chosen);
        QStringList names;
        for (const QString &f : folderChain(folder))
            names << folderDisplayName(f);
        QCOMPARE(names, shown);
        QCOMPARE(volumeOf({"/", "/home", "/mnt/usb"}, folder), volume);
        QCOMPARE(folderOnVolume({"/", "/home", "/mnt/usb"}, volume, "/home/ann"), chosen);
        QCOMPARE(listEntry(folder == "/" ? folder : QDir::cleanPath(folder), "a.htm"), QDir::cleanPath(folder + "/a.htm"));
    }

    void writeProblem()
    {
        const QString path = dir->filePath("f.htm");
        QVERIFY(writeBytes(path, "x") && kestrin::writeProblem(path).isEmpty());
        QVERIFY(!kestrin::writeProblem(dir->filePath("gone.htm")).isEmpty());
        bool locked = false;
        const auto unlock = makeReadOnly(path, &locked);
        if (!locked)
            QSKIP("chattr +i is not available on this file system");
        QVERIFY(!kestrin::writeProblem(path).isEmpty());
    }

    // The files listed are the web sources (any case), no hidden ones or folders. A click only
    // highlights a folder; a double click or Return opens it and lists its files.
    void folderOpensOnDoubleClickOrReturn()
    {
        const QStringList shown{"a.htm", "b.html", "c.php", "d.tpl", "e.css", "f.js", "G.HTM"};
        QVERIFY(QDir(dir->path()).mkpath("site/sub.htm"));
        QVERIFY(writeBytes(dir->filePath("site/index.php"), "x") && writeBytes(dir->filePath("site/readme.txt"), "x"));
        QDir::setCurrent(dir->path());
        const auto w = window(shown + QStringList{"notes.txt", "x.json", "page.htm.bak", ".hidden.htm"}, "x", false);
        QVERIFY(w);
        for (QAbstractButton *button : w->findChildren<QAbstractButton *>())
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->text()));
        QCOMPARE(entries(w->File1), shown);
        const QPoint at = w->Dir1->visualItemRect(w->Dir1->findItems("site", Qt::MatchExactly | Qt::MatchRecursive).value(0)).center();
        QTest::mouseClick(w->Dir1->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        QCOMPARE(w->Dir1->path(), dir->path());
        QTest::mouseDClick(w->Dir1->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(w->Dir1->path(), dir->filePath("site"));
        QCOMPARE(entries(w->File1), QStringList{"index.php"});
        QCOMPARE(subfolderNames(w->Dir1->path()), QStringList{"sub.htm"});
        w->Dir1->setCurrentItem(w->Dir1->findItems(QFileInfo(dir->path()).fileName(), Qt::MatchExactly | Qt::MatchRecursive).value(0));
        QTest::keyClick(w->Dir1, Qt::Key_Return);
        QCOMPARE(entries(w->File1), shown);
    }

    // Shift and Ctrl extend the pick; ">>" adds it (again on a second press); "<<" removes the
    // highlighted entry only, and nothing stays highlighted after it.
    void pickAddAndRemove()
    {
        QDir::setCurrent(dir->path());
        const auto w = window({"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"}, "x", false);
        QVERIFY(w);
        const auto click = [&](QListWidget *list, int row, Qt::KeyboardModifiers mods) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, list->visualItemRect(list->item(row)).center());
        };
        click(w->File1, 0, {});
        click(w->File1, 2, Qt::ShiftModifier);
        click(w->File1, 4, Qt::ControlModifier);
        click(w->File1, 1, Qt::ControlModifier);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QTest::mouseClick(w->Command2, Qt::LeftButton); // nothing highlighted yet
        const QString a = dir->filePath("a.htm"), c = dir->filePath("c.htm"), e = dir->filePath("e.htm");
        QCOMPARE(entries(w->List1), (QStringList{a, c, e, a, c, e}));
        click(w->List1, 1, {});
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QCOMPARE(entries(w->List1), (QStringList{a, e, a, c, e}));
    }

    void runsMatchGoldenFiles_data()
    {
        QTest::addColumn<QString>("run");
        QTest::newRow("replace 'color' with 'colour'") << "replace";
        QTest::newRow("add '<!-- é -->' to end") << "end";
        QTest::newRow("add '<!-- é -->' to beginning") << "begin";
        QTest::newRow("empty find saves every file unchanged") << "input";
    }
    void runsMatchGoldenFiles()
    {
        QFETCH(QString, run);
        const QStringList names = QDir(goldenDir("input")).entryList(QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), "golden files not found; is KESTRIN_SOURCE_DIR set?");
        frmReplace w;
        for (const QString &name : names) {
            QVERIFY(QFile::copy(goldenDir("input") + '/' + name, dir->filePath(name)));
            w.List1->addItem(dir->filePath(name));
        }
        w.Text1->setText(run == "input" ? QString() : QString("color"));
        w.Text2->setText("colour");
        w.Text3->setText(QString::fromUtf8("<!-- \xc3\xa9 -->"));
        if (run == "begin")
            w.Option2->setChecked(true);
        QTest::mouseClick(run == "replace" || run == "input" ? w.Command3 : w.Command4, Qt::LeftButton);
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(prompter->asked.size(), 0);
        for (const QString &name : names)
            QVERIFY2(readBytes(dir->filePath(name)) == readBytes(goldenDir(run) + '/' + name), qPrintable(name));
        // Nothing but the targets: no temporary files left behind.
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden).size(), names.size());
    }

    // The progress bar shows from the first file to the last and hides after; each run counts
    // afresh; GO on an empty list does nothing. A file listed twice gets both changes.
    void progressAndRepeats()
    {
        const auto w = window({"f0.htm", "f1.htm", "f2.htm", "f0.htm"}, "x\r\n");
        QVERIFY(w);
        QList<int> values;
        connect(w->PB, &QProgressBar::valueChanged, this, [&](int v) { values << (w->PB->isVisible() ? v : -1); });
        w->Text3->setText("footer");
        w->AddTextRun();
        QCOMPARE(values, (QList<int>{0, 1, 2, 3}));
        QVERIFY(!w->PB->isVisible() && w->List1->count() == 0);
        QCOMPARE(readBytes(dir->filePath("f0.htm")), QByteArray("x\r\n\r\nfooter\r\nfooter"));
        values.clear();
        w->List1->addItem(dir->filePath("f1.htm"));
        w->ReplaceRun();
        w->AddTextRun();
        QCOMPARE(values, QList<int>{0});
        QCOMPARE(prompter->asked.size(), 0);
    }

    // A file that cannot be checked, loaded or saved stops the run: the files before it are changed and
    // leave the list, it and the files after it stay untouched and listed, one message says why.
    void runStopsAtFirstFailingFile_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("read-only file") << "read-only";
        QTest::newRow("missing file") << "missing";
        QTest::newRow("folder where the file was") << "folder";
        QTest::newRow("binary file") << "binary";
        QTest::newRow("character Windows-1252 cannot hold") << "unencodable";
    }
    void runStopsAtFirstFailingFile()
    {
        QFETCH(QString, trouble);
        // UTF-8 files, but the middle one in Windows-1252, which cannot hold the arrow.
        const QString arrow = QString::fromUtf8("\xe2\x86\x92"), replacement = trouble == "unencodable" ? "colour " + arrow : "colour";
        const auto w = window({"f0.php", "f1.php", "f2.php", "f3.php", "f4.php"}, "caf\xc3\xa9 color\n");
        QVERIFY(w);
        const QStringList paths = entries(w->List1);
        const QString bad = paths[2];
        QVERIFY(writeBytes(bad, trouble == "binary" ? QByteArray("color\0\x01\x02", 8) : QByteArray("caf\xe9 color\n")));
        bool locked = false;
        const auto unlock = makeReadOnly(trouble == "read-only" ? bad : QString(), &locked);
        if (trouble == "read-only" && !locked)
            QSKIP("chattr +i is not available on this file system");
        if (trouble == "missing" || trouble == "folder")
            QVERIFY(QFile::remove(bad) && (trouble == "missing" || QDir().mkdir(bad)));
        const QByteArray before = readBytes(bad);
        w->Text1->setText("color");
        w->Text2->setText(replacement);
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QCOMPARE(prompter->asked.size(), 1);
        const auto &said = prompter->asked.first();
        QVERIFY2(said.title == "kestrin4" && said.text.contains(bad) && said.icon != Prompter::Icon::Information, qPrintable(said.text));
        QVERIFY2(trouble != "unencodable" || said.text.contains("\"" + arrow + "\" (U+2192)"), qPrintable(said.text));
        const QByteArray changed = "caf\xc3\xa9 " + replacement.toUtf8() + "\n", unchanged = "caf\xc3\xa9 color\n";
        QCOMPARE(readBytes(paths[0]) + readBytes(paths[1]) + readBytes(bad) + readBytes(paths[3]) + readBytes(paths[4]),
                 changed + changed + before + unchanged + unchanged);
        QCOMPARE(entries(w->List1), paths.mid(2));
        QVERIFY(!w->PB->isVisible());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden).size(), QFileInfo(bad).isFile() ? 5 : 4);
    }

    // No 16-bit limit on the list or the progress bar; in memory where the system offers it.
    void moreThan32767FilesWork()
    {
        dir = std::make_unique<QTemporaryDir>(QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/kestrin-replace-XXXXXX") : QString());
        const int n = 33000;
        frmReplace w;
        for (int i = 0; i < n; ++i) {
            if (!writeBytes(dir->filePath(QString("f%1.js").arg(i)), "var color;\n"))
                QFAIL("could not write the files");
            w.List1->addItem(dir->filePath(QString("f%1.js").arg(i)));
        }
        int last = -1;
        connect(w.PB, &QProgressBar::valueChanged, this, [&](int v) { last = v; });
        w.Text1->setText("color");
        w.Text2->setText("colour");
        w.ReplaceRun();
        QCOMPARE(prompter->asked.size(), 0);
        QCOMPARE(last, n - 1);
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(readBytes(dir->filePath("f0.js")) + readBytes(dir->filePath(QString("f%1.js").arg(n - 1))),
                 QByteArray("var colour;\nvar colour;\n"));
    }
};
KESTRIN_REGISTER_TEST(frmReplaceTest);

#include "tst_replace.moc"
