// The multi-file replace: its text steps and path arithmetic, the window's file picking, and the runs over real files.
#include "FailingFolder.h"
#include "ScriptedPrompter.h"
#include "FileBytes.h"
#include "TestRegistry.h"

#include "replace/FolderList.h"
#include "replace/ReplaceEngine.h"
#include "replace/ReplacePaths.h"
#include "replace/ReplaceRun.h"
#include "replace/frmReplace.h"

#include <QtTest>
#include <QtWidgets>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>

using namespace kestrin;
using namespace kestrin::test;

namespace {

QString goldenDir(const QString &kind)
{
    return qEnvironmentVariable("KESTRIN_SOURCE_DIR", QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../..")
           + "/tests/replace/golden/" + kind;
}

QStringList entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Root may write any mode; for root only an immutable file is read-only. Undone when the guard goes.
auto makeReadOnly(const QString &path, bool *done)
{
    *done = !path.isEmpty() && (::geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0 : QFile::setPermissions(path, QFile::ReadOwner));
    return qScopeGuard([path, locked = *done] { if (locked && ::geteuid() == 0) QProcess::execute("chattr", {"-i", path}); });
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
            if (!writeBytes(paths.last(), text)) return nullptr;
        }
        auto w = std::make_unique<frmReplace>();
        w->List1->addItems(list ? paths : QStringList());
        w->show();
        return QTest::qWaitForWindowExposed(w.get()) ? std::move(w) : nullptr;
    }

private Q_SLOTS:
    void init() { prompter = std::make_unique<ScriptedPrompter>(), dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { prompter.reset(), dir.reset(), QDir::setCurrent(startFolder); }

    // Per row: a folder, its chain of folders with the names the tree shows, its volume among
    // "/", "/home", "/mnt/usb", and the folder a change to that volume shows from /home/ann.
    void paths_data()
    {
        QTest::addColumn<QString>("folder"), QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("volume"), QTest::addColumn<QString>("chosen");
        QTest::newRow("/") << "/" << QStringList{"/"} << "/" << "/";
        QTest::newRow("/home/ann/web/") << "/home/ann/web/" << QStringList{"/", "home", "ann", "web"} << "/home" << "/home/ann";
        QTest::newRow("/homework") << "/homework" << QStringList{"/", "homework"} << "/" << "/";
        QTest::newRow("/mnt/usb/x") << "/mnt/usb/x" << QStringList{"/", "mnt", "usb", "x"} << "/mnt/usb" << "/mnt/usb";
    }
    void paths()
    {
        QFETCH(QString, folder); QFETCH(QStringList, shown); QFETCH(QString, volume); QFETCH(QString, chosen);
        QStringList names;
        for (const QString &f : folderChain(folder)) names << folderDisplayName(f);
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
        if (!locked) QSKIP("chattr +i is not available on this file system");
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
        click(w->File1, 0, {}), click(w->File1, 2, Qt::ShiftModifier);
        click(w->File1, 4, Qt::ControlModifier), click(w->File1, 1, Qt::ControlModifier);
        for (QPushButton *button : {w->Command1, w->Command1, w->Command2}) // "<<" with nothing highlighted yet
            QTest::mouseClick(button, Qt::LeftButton);
        const QString a = dir->filePath("a.htm"), c = dir->filePath("c.htm"), e = dir->filePath("e.htm");
        QCOMPARE(entries(w->List1), (QStringList{a, c, e, a, c, e}));
        click(w->List1, 1, {});
        QTest::mouseClick(w->Command2, Qt::LeftButton), QTest::mouseClick(w->Command2, Qt::LeftButton);
        QCOMPARE(entries(w->List1), (QStringList{a, e, a, c, e}));
    }

    void runsMatchGoldenFiles_data()
    {
        QTest::addColumn<QString>("run");
        QTest::newRow("replace 'color' with 'colour'") << "replace", QTest::newRow("add '<!-- é -->' to end") << "end";
        QTest::newRow("add '<!-- é -->' to beginning") << "begin", QTest::newRow("empty find saves every file unchanged") << "input";
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
        w.Text1->setText(run == "input" ? QString() : QString("color")), w.Text2->setText("colour");
        w.Text3->setText(QString::fromUtf8("<!-- \xc3\xa9 -->")), w.Option2->setChecked(run == "begin");
        QSignalSpy ended(&w, &frmReplace::runFinished);
        QTest::mouseClick(run == "replace" || run == "input" ? w.Command3 : w.Command4, Qt::LeftButton);
        QVERIFY(ended.wait());
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(prompter->asked.size(), 0);
        for (const QString &name : names)
            QVERIFY2(readBytes(dir->filePath(name)) == readBytes(goldenDir(run) + '/' + name), qPrintable(name));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden).size(), names.size()); // no temporary file left behind
    }

    // The progress bar shows while a run goes on and hides after; the list cannot be changed and GO does nothing
    // meanwhile; GO on an empty list does nothing. A file listed again, itself or through a link, gets every change.
    void progressAndRepeats()
    {
        const auto w = window({"f0.htm", "f1.htm", "f2.htm", "f0.htm"}, "x\r\n");
        QVERIFY(w && QFile::link(dir->filePath("f0.htm"), dir->filePath("f3.htm"))); // and once more through a link
        w->List1->addItem(dir->filePath("f3.htm"));
        QSignalSpy ended(w.get(), &frmReplace::runFinished);
        w->Text3->setText("footer"), w->startAddText();
        QVERIFY(w->PB->isVisible() && w->PB->maximum() == 5 && !w->Command1->isEnabled() && !w->Command2->isEnabled());
        w->startReplace();
        QVERIFY(ended.wait());
        QVERIFY(!w->PB->isVisible() && w->List1->count() == 0 && w->Command3->isEnabled());
        QCOMPARE(readBytes(dir->filePath("f0.htm")), QByteArray("x\r\n\r\nfooter\r\nfooter\r\nfooter"));
        QCOMPARE(readBytes(dir->filePath("f1.htm")), QByteArray("x\r\n\r\nfooter"));
        w->startAddText();
        QVERIFY(!w->isRunning() && !w->PB->isVisible());
        w->List1->addItem(dir->filePath("f1.htm")), w->Text1->setText("footer"), w->Text2->setText("FOOTER"); // as long
        w->startReplace();
        QVERIFY(ended.wait() && readBytes(dir->filePath("f1.htm")) == "x\r\n\r\nFOOTER");
        QCOMPARE(prompter->asked.size(), 0);
    }

    // Escape or closing the window while a file is being read (a pipe that waits for its writer)
    // stops the run after that file: it and the files before it are changed, the rest untouched
    // and listed; a closed window goes once the run has ended.
    void stopsAfterTheCurrentFile_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("Escape") << false, QTest::newRow("window closed") << true;
    }
    void stopsAfterTheCurrentFile()
    {
        QFETCH(bool, close);
        auto w = window({"f0.htm", "f1.htm", "f2.htm", "f3.htm"}, "color");
        QVERIFY(w);
        const QStringList paths = entries(w->List1);
        QVERIFY(QFile::remove(paths[1]) && ::mkfifo(QFile::encodeName(paths[1]).constData(), 0644) == 0);
        QPointer<frmReplace> shown = w.get();
        QSignalSpy ended(w.get(), &frmReplace::runFinished);
        w->Text1->setText("color"), w->Text2->setText("colour"), w->startReplace();
        int pipe = -1; // opens once the run is reading the pipe
        for (int i = 0; i < 500 && (pipe = ::open(QFile::encodeName(paths[1]).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0; ++i)
            QTest::qWait(10);
        QVERIFY(pipe >= 0);
        QTRY_COMPARE(w->PB->value(), 1); // the first file done, as the bar shows
        close ? (void)w.release()->close() : QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(shown && shown->isVisible() && !shown->PB->isEnabled()); // open until the run has ended
        const bool fed = ::write(pipe, "color", 5) == 5; // then closed, whatever happened
        ::close(pipe);
        QVERIFY(fed);
        QVERIFY(ended.wait());
        QCOMPARE(readBytes(paths[0]) + readBytes(paths[1]) + readBytes(paths[2]) + readBytes(paths[3]), QByteArray("colourcolourcolorcolor"));
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY2(prompter->asked[0].title == "kestrin4" && prompter->asked[0].text.contains(paths[2]), qPrintable(prompter->asked[0].text));
        if (close)
            QTRY_VERIFY(shown.isNull());
        else
            QCOMPARE(entries(w->List1), paths.mid(2));
    }

    // No 16-bit limit on the list or the progress bar; in memory where the system offers it.
    void moreThan32767FilesWork()
    {
        dir = std::make_unique<QTemporaryDir>(QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/kestrin-replace-XXXXXX") : QString());
        const int n = 33000;
        frmReplace w;
        for (int i = 0; i < n; ++i) {
            if (!writeBytes(dir->filePath(QString("f%1.js").arg(i)), "var color;\n")) QFAIL("could not write the files");
            w.List1->addItem(dir->filePath(QString("f%1.js").arg(i)));
        }
        QSignalSpy ended(&w, &frmReplace::runFinished);
        w.Text1->setText("color"), w.Text2->setText("colour"), w.startReplace();
        QCOMPARE(w.PB->maximum(), n);
        QVERIFY(ended.wait(300000));
        QCOMPARE(prompter->asked.size(), 0);
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(readBytes(dir->filePath("f0.js")) + readBytes(dir->filePath(QString("f%1.js").arg(n - 1))),
                 QByteArray("var colour;\nvar colour;\n"));
    }
};
KESTRIN_REGISTER_TEST(frmReplaceTest);

// The run itself, without a window: where it stops and what it leaves listed and says.
class ReplaceRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A file that cannot be checked, loaded or saved, a stop asked for while a file is changed, or
    // a batch that cannot be put in place ends the run: the files before it are changed and leave
    // the list, it and the files after it stay untouched and listed, one message says why.
    void endsEarly_data()
    {
        // firstLeft: the first entry left listed
        QTest::addColumn<QString>("trouble"), QTest::addColumn<int>("firstLeft"), QTest::addColumn<ReplaceRun::Outcome::Severity>("severity");
        const auto warning = ReplaceRun::Outcome::Severity::Warning;
        QTest::newRow("read-only file") << "read-only" << 2 << warning, QTest::newRow("missing file, told in German") << "missing" << 2 << warning;
        QTest::newRow("folder where the file was") << "folder" << 2 << warning, QTest::newRow("binary file") << "binary" << 2 << warning;
        QTest::newRow("character Windows-1252 cannot hold") << "unencodable" << 2 << warning;
        QTest::newRow("stop asked while the second file is changed") << "stop" << 2 << ReplaceRun::Outcome::Severity::Note;
        QTest::newRow("folder read-only before the batch is committed") << "commit" << 0 << ReplaceRun::Outcome::Severity::Critical;
    }
    void endsEarly()
    {
        QFETCH(QString, trouble); QFETCH(int, firstLeft); QFETCH(ReplaceRun::Outcome::Severity, severity);
        QTemporaryDir dir;
        // UTF-8 files, but the middle one in Windows-1252, which cannot hold the arrow.
        const QString arrow = QString::fromUtf8("\xe2\x86\x92"), replacement = trouble == "unencodable" ? "colour " + arrow : "colour";
        QStringList paths;
        for (int i = 0; i < 5; ++i) {
            paths << dir.filePath(QString("f%1.php").arg(i));
            QVERIFY(writeBytes(paths.last(), i == 2 && trouble == "binary" ? QByteArray("color\0\x01\x02", 8)
                                             : i == 2 ? QByteArray("caf\xe9 color\n") : QByteArray("caf\xc3\xa9 color\n")));
        }
        const QString bad = paths[2];
        bool locked = false;
        const auto unlock = makeReadOnly(trouble == "read-only" ? bad : QString(), &locked);
        if (trouble == "read-only" && !locked) QSKIP("chattr +i is not available on this file system");
        if (trouble == "missing" || trouble == "folder")
            QVERIFY(QFile::remove(bad) && (trouble == "missing" || QDir().mkdir(bad)));
        const QByteArray before = readBytes(bad);
        std::optional<test::FailingFolder> readOnlyFolder;
        int calls = 0;
        ReplaceRun *self = nullptr;
        ReplaceRun run(paths, [&, replace = ReplaceRun::replacing(QString::fromUtf8("\xc3\xa9 color"), QString::fromUtf8("\xc3\xa9 ") + replacement)](const QByteArray &text, const QByteArray &lineBreak) {
            if (++calls == 2 && trouble == "stop") self->stop();
            if (calls == 3 && trouble == "commit") readOnlyFolder.emplace(dir.path(), test::FailingFolder::Kind::ReadOnly);
            return replace(text, lineBreak);
        });
        self = &run;
        QTranslator german; // the quotes round the file are the translation's
        QVERIFY(trouble != "missing" || (german.load(qEnvironmentVariable("KESTRIN_BUILD_DIR") + "/translations/kestrin4_de")
                                         && QCoreApplication::installTranslator(&german)));
        QSignalSpy ended(&run, &ReplaceRun::finished);
        run.start();
        QVERIFY(ended.wait(60000));
        if (readOnlyFolder && !readOnlyFolder->ok()) QSKIP(qPrintable(readOnlyFolder->why()));
        readOnlyFolder.reset();
        const ReplaceRun::Outcome &said = run.outcome();
        QCOMPARE(said.left, paths.mid(firstLeft));
        QVERIFY(said.severity == severity);
        QVERIFY2(said.message.contains(trouble == "missing" ? QString::fromUtf8("\u201e%1\u201c konnte nicht gelesen").arg(bad) : bad),
                 qPrintable(said.message));
        QVERIFY2(trouble != "unencodable" || said.message.contains("\"" + arrow + "\" (U+2192)"), qPrintable(said.message));
        QVERIFY2(trouble != "commit" || said.message.contains(paths[0]), qPrintable(said.message)); // the first not put in place
        QVERIFY2(trouble == "commit" || trouble == "missing" || said.message.contains(QString("%1 file(s) before it were changed and "
                     "taken off the list. This file and the %2 after").arg(firstLeft).arg(4 - firstLeft)), qPrintable(said.message));
        const QByteArray changed = "caf\xc3\xa9 " + replacement.toUtf8() + "\n", unchanged = "caf\xc3\xa9 color\n";
        for (int i = 0; i < 5; ++i) QCOMPARE(readBytes(paths[i]), i == 2 ? before : i < firstLeft ? changed : unchanged);
        if (trouble != "commit")
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), QFileInfo(bad).isFile() ? 5 : 4);
    }
};
KESTRIN_REGISTER_TEST(ReplaceRunTest);

#include "tst_replace.moc"
