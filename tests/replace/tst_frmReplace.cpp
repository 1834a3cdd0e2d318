// The replace window: its design, the file picking, and the two runs over real files.
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "editor/component/CodeEdit.h"
#include "replace/FolderList.h"
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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <QTreeWidget>

#include <unistd.h>

#include <memory>

using namespace kestrin;
using kestrin::test::ScriptedPrompter;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString goldenDir(const QString &kind)
{
    const QString source = qEnvironmentVariable("KESTRIN_SOURCE_DIR");
    if (source.isEmpty())
        return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/golden/") + kind;
    return source + QStringLiteral("/tests/replace/golden/") + kind;
}

QStringList goldenNames()
{
    return QDir(goldenDir("input")).entryList(QDir::Files, QDir::Name);
}

// Copies the golden inputs into dir; returns their paths in name order.
QStringList copyInputs(const QString &dir)
{
    QStringList paths;
    for (const QString &name : goldenNames()) {
        const QString target = dir + '/' + name;
        QFile::copy(goldenDir("input") + '/' + name, target);
        paths << target;
    }
    return paths;
}

QStringList listEntries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Root may write any mode; for root only an immutable file is read-only.
bool makeReadOnly(const QString &path)
{
    return ::geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0 : QFile::setPermissions(path, QFile::ReadOwner);
}
void makeWritable(const QString &path)
{
    if (::geteuid() == 0)
        QProcess::execute("chattr", {"-i", path});
}

} // namespace

class frmReplaceTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScriptedPrompter> prompter;
    QString startFolder;

private Q_SLOTS:
    void initTestCase()
    {
        startFolder = QDir::currentPath();
        QVERIFY2(!goldenNames().isEmpty(), "golden files not found; is KESTRIN_SOURCE_DIR set?");
    }
    void init() { prompter = std::make_unique<ScriptedPrompter>(); }
    void cleanup()
    {
        prompter.reset();
        QDir::setCurrent(startFolder);
    }

    // The tool-window flags are the shared set-up's, checked in the colour chooser's tests.
    void windowStartsAfresh()
    {
        frmReplace w;
        for (QAbstractButton *button : w.findChildren<QAbstractButton *>())
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->text()));
        QCOMPARE(w.filePattern(), QString("*.htm;*.html;*.php;*.tpl;*.css;*.js"));
        QCOMPARE(w.Dir1->path(), QDir::currentPath());
        QCOMPARE(w.Drive1->itemText(0), QDir::rootPath());
        QCOMPARE(w.List1->count(), 0);
        QVERIFY(w.Option1->isChecked());
        QVERIFY(!w.Option2->isChecked());
        QVERIFY(w.Text1->text().isEmpty() && w.Text2->text().isEmpty() && w.Text3->text().isEmpty());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.PB->isVisible());
    }

    void tabOrderFollowsDesign()
    {
        frmReplace w;
        const QList<QWidget *> expected{w.Drive1, w.Dir1, w.File1, w.Command1, w.List1, w.Command2, w.Text1,
                                        w.Text2, w.Command3, w.Text3, w.Option1, w.Option2, w.Command4};
        QList<QWidget *> seen;
        QWidget *at = w.Drive1;
        for (int i = 0; i < 200 && seen.size() < expected.size(); ++i) {
            if (expected.contains(at) && !seen.contains(at))
                seen << at;
            at = at->nextInFocusChain();
        }
        QCOMPARE(seen, expected);
    }

    void folderOpensOnDoubleClickNotOnHighlight()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("site/css"));
        QVERIFY(writeBytes(dir.filePath("top.htm"), "x"));
        QVERIFY(writeBytes(dir.filePath("site/index.php"), "x"));
        QVERIFY(writeBytes(dir.filePath("site/readme.txt"), "x"));
        QDir::setCurrent(dir.path());
        frmReplace w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(listEntries(w.File1), QStringList{"top.htm"});

        const auto found = w.Dir1->findItems("site", Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        QTreeWidgetItem *site = found.first();
        const QPoint at = w.Dir1->visualItemRect(site).center();
        QTest::mouseClick(w.Dir1->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        QCOMPARE(w.Dir1->path(), dir.path());
        QCOMPARE(listEntries(w.File1), QStringList{"top.htm"});

        QTest::mouseDClick(w.Dir1->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(w.Dir1->path(), dir.filePath("site"));
        QCOMPARE(listEntries(w.File1), QStringList{"index.php"});

        // Enter on a highlighted ancestor opens it too.
        QTreeWidgetItem *parent = w.Dir1->findItems(QFileInfo(dir.path()).fileName(),
                                                    Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(parent);
        w.Dir1->setCurrentItem(parent);
        QCOMPARE(w.Dir1->path(), dir.filePath("site"));
        QTest::keyClick(w.Dir1, Qt::Key_Return);
        QCOMPARE(w.Dir1->path(), dir.path());
        QCOMPARE(listEntries(w.File1), QStringList{"top.htm"});
    }

    void shiftAndCtrlSelectThenAddFromSubfolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("web"));
        for (const char *name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"})
            QVERIFY(writeBytes(dir.filePath(QString("web/") + name), "x"));
        QDir::setCurrent(dir.filePath("web"));
        frmReplace w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.File1->count(), 5);
        auto click = [&](int row, Qt::KeyboardModifiers mods) {
            QTest::mouseClick(w.File1->viewport(), Qt::LeftButton, mods,
                              w.File1->visualItemRect(w.File1->item(row)).center());
        };
        click(0, {});                   // a
        click(2, Qt::ShiftModifier);    // a..c
        click(4, Qt::ControlModifier);  // + e
        click(1, Qt::ControlModifier);  // - b
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        const QString web = dir.filePath("web");
        QCOMPARE(listEntries(w.List1), (QStringList{web + "/a.htm", web + "/c.htm", web + "/e.htm"}));
        // The selection stays; a second press adds the same files again.
        QCOMPARE(w.File1->selectedItems().size(), 3);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QCOMPARE(w.List1->count(), 6);
        QCOMPARE(w.List1->item(3)->text(), web + "/a.htm");
    }

    void addFromRootFolder()
    {
        // The root is the one folder whose path already ends with the separator.
        const QString name = QString("kestrin-replace-test-%1.htm").arg(QCoreApplication::applicationPid());
        const QString path = "/" + name;
        if (!writeBytes(path, "x"))
            QSKIP("the root folder is not writable here");
        auto remove = qScopeGuard([&] { QFile::remove(path); });
        QDir::setCurrent("/");
        frmReplace w;
        QCOMPARE(w.Dir1->path(), QString("/"));
        const auto items = w.File1->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        items.first()->setSelected(true);
        w.Command1_Click();
        QCOMPARE(listEntries(w.List1), QStringList{path});
    }

    void removeHighlightedEntry()
    {
        frmReplace w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.List1->addItems({"/w/a.htm", "/w/b.htm", "/w/c.htm", "/w/d.htm"});
        QTest::mouseClick(w.Command2, Qt::LeftButton); // nothing highlighted
        QCOMPARE(w.List1->count(), 4);
        QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {},
                          w.List1->visualItemRect(w.List1->item(2)).center());
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(listEntries(w.List1), (QStringList{"/w/a.htm", "/w/b.htm", "/w/d.htm"}));
        QTest::mouseClick(w.Command2, Qt::LeftButton); // the highlight went with the entry
        QCOMPARE(w.List1->count(), 3);
        w.List1->setCurrentRow(0);
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(listEntries(w.List1), (QStringList{"/w/b.htm", "/w/d.htm"}));
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
        QTemporaryDir dir;
        const QStringList paths = copyInputs(dir.path());
        frmReplace w;
        w.List1->addItems(paths);
        w.Text1->setText(run == "input" ? QString() : QString("color"));
        w.Text2->setText("colour");
        w.Text3->setText(QString::fromUtf8("<!-- \xc3\xa9 -->"));
        w.Option2->setChecked(run == "begin");
        if (run == "replace" || run == "input")
            QTest::mouseClick(w.Command3, Qt::LeftButton);
        else
            QTest::mouseClick(w.Command4, Qt::LeftButton);
        QCOMPARE(w.List1->count(), 0);
        QVERIFY(!w.PB->isVisible());
        QCOMPARE(prompter->asked.size(), 0);
        for (const QString &name : goldenNames()) {
            const QByteArray got = readBytes(dir.filePath(name));
            const QByteArray want = readBytes(goldenDir(run) + '/' + name);
            if (got != want)
                qWarning().noquote() << name << "got" << got.toHex(' ') << "\n want" << want.toHex(' ');
            QVERIFY2(got == want, qPrintable(name));
        }
        // Nothing but the targets: no temporary files left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), paths.size());
    }

    void fileListedTwiceIsProcessedTwice()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("page.htm");
        QVERIFY(writeBytes(path, "x\r\n"));
        frmReplace w;
        w.List1->addItems({path, path});
        w.Text3->setText("footer");
        w.AddTextRun();
        QCOMPARE(readBytes(path), QByteArray("x\r\n\r\nfooter\r\nfooter"));
        QCOMPARE(w.List1->count(), 0);
    }

    void progressRunsFromZeroToCountMinusOne()
    {
        QTemporaryDir dir;
        frmReplace w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int i = 0; i < 4; ++i) {
            const QString path = dir.filePath(QString("f%1.htm").arg(i));
            QVERIFY(writeBytes(path, "x"));
            w.List1->addItem(path);
        }
        QList<int> values;
        QList<bool> visible;
        connect(w.PB, &QProgressBar::valueChanged, this, [&](int v) {
            values << v;
            visible << w.PB->isVisible();
        });
        w.Text1->setText("x");
        w.Text2->setText("y");
        w.ReplaceRun();
        QCOMPARE(values, (QList<int>{0, 1, 2, 3}));
        QCOMPARE(visible, (QList<bool>{true, true, true, true}));
        QVERIFY(!w.PB->isVisible());
        QCOMPARE(w.List1->count(), 0);

        // Each run starts its count afresh.
        values.clear();
        w.List1->addItem(dir.filePath("f0.htm"));
        w.ReplaceRun();
        QCOMPARE(values, QList<int>{0});
    }

    void goOnEmptyListDoesNothing()
    {
        frmReplace w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy progress(w.PB, &QProgressBar::valueChanged);
        w.Text1->setText("a");
        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        QCOMPARE(progress.count(), 0);
        QVERIFY(!w.PB->isVisible());
        QCOMPARE(prompter->asked.size(), 0);
    }

    // A file that cannot be loaded or saved stops the run: the files before it are changed and
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
        QTemporaryDir dir;
        QStringList paths;
        QMap<QString, QByteArray> before;
        for (int i = 0; i < 5; ++i) {
            const QString path = dir.filePath(QString("f%1.php").arg(i));
            // Windows-1252 text (the 0xE9 is not UTF-8) so the unencodable case has a file to fail in.
            QVERIFY(writeBytes(path, "caf\xe9 color\n"));
            paths << path;
        }
        const QString bad = paths[2];
        bool locked = false;
        auto unlock = qScopeGuard([&] {
            if (locked)
                makeWritable(bad);
        });
        QString replacement = "colour";
        if (trouble == "read-only") {
            locked = makeReadOnly(bad);
            if (!locked)
                QSKIP("chattr +i is not available on this file system");
        } else if (trouble == "missing") {
            QVERIFY(QFile::remove(bad));
        } else if (trouble == "folder") {
            QVERIFY(QFile::remove(bad));
            QVERIFY(QDir().mkdir(bad));
        } else if (trouble == "binary") {
            QVERIFY(writeBytes(bad, QByteArray("color\0\x01\x02", 8)));
        } else if (trouble == "unencodable") {
            // Only the middle file is in Windows-1252; the others are UTF-8 and can hold the arrow.
            for (const QString &p : paths)
                if (p != bad)
                    QVERIFY(writeBytes(p, "caf\xc3\xa9 color\n"));
            replacement = QString::fromUtf8("colour \xe2\x86\x92");
        }
        for (const QString &p : paths)
            before[p] = QFileInfo(p).isFile() ? readBytes(p) : QByteArray();

        frmReplace w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.List1->addItems(paths);
        w.Text1->setText("color");
        w.Text2->setText(replacement);
        QTest::mouseClick(w.Command3, Qt::LeftButton);

        QCOMPARE(prompter->asked.size(), 1);
        const auto &said = prompter->asked.first();
        QCOMPARE(said.kind, QString("message"));
        QCOMPARE(said.title, QString("kestrin4"));
        QVERIFY2(said.text.contains(bad), qPrintable(said.text));
        QVERIFY2(trouble != "unencodable" || said.text.contains(QString::fromUtf8("\"\xe2\x86\x92\" (U+2192)")),
                 qPrintable(said.text));
        QVERIFY(said.icon == Prompter::Icon::Warning || said.icon == Prompter::Icon::Critical);

        const QByteArray changed = before[paths[0]].replace("color", replacement.toUtf8());
        QCOMPARE(readBytes(paths[0]), changed);
        QCOMPARE(readBytes(paths[1]), QByteArray(before[paths[1]]).replace("color", replacement.toUtf8()));
        for (int i = 2; i < 5; ++i) {
            if (QFileInfo(paths[i]).isFile())
                QCOMPARE(readBytes(paths[i]), before[paths[i]]);
        }
        QCOMPARE(listEntries(w.List1), paths.mid(2));
        QVERIFY(!w.PB->isVisible());
        if (trouble == "folder" || trouble == "missing")
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
        else
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
    }

    void editorDocumentIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("open.htm");
        QVERIFY(writeBytes(path, "<p>color</p>\n"));
        CodeEdit editor;
        QVERIFY(editor.LoadFile(path));
        editor.setText("<p>color</p>\n<p>typed, not saved</p>\n");
        frmReplace w;
        w.List1->addItem(path);
        w.Text1->setText("color");
        w.Text2->setText("colour");
        w.ReplaceRun();
        QCOMPARE(readBytes(path), QByteArray("<p>colour</p>\n"));
        QCOMPARE(editor.Text(), QByteArray("<p>color</p>\n<p>typed, not saved</p>\n"));
        QVERIFY(editor.CanUndo());
    }

    void sharedWindowIsOneInstanceAndReopensAfresh()
    {
        QVERIFY(!frmReplace::shared());
        frmReplace *first = frmReplace::showShared();
        QVERIFY(first && first->isVisible());
        QCOMPARE(frmReplace::showShared(), first);
        first->List1->addItem("/w/a.htm");
        first->Text1->setText("x");
        first->Option2->setChecked(true);
        QPointer<frmReplace> watch(first);
        QVERIFY(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTRY_VERIFY(!watch);
        QVERIFY(!frmReplace::shared());
        frmReplace *second = frmReplace::showShared();
        auto close = qScopeGuard([&] {
            second->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        QCOMPARE(second->List1->count(), 0);
        QVERIFY(second->Text1->text().isEmpty());
        QVERIFY(second->Option1->isChecked());
    }

    // No 16-bit limit on the list or the progress bar.
    void moreThan32767FilesWork()
    {
        // In memory where the system offers it: the point is the count, not the disk.
        const bool shm = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
        QTemporaryDir dir(shm ? QStringLiteral("/dev/shm/kestrin-replace-XXXXXX") : QString());
        const int n = 33000;

        QStringList paths;
        paths.reserve(n);
        for (int i = 0; i < n; ++i) {
            const QString path = dir.filePath(QString("f%1.js").arg(i));
            if (!writeBytes(path, "var color;\n"))
                QFAIL("could not write the corpus");
            paths << path;
        }
        frmReplace w;
        w.List1->addItems(paths);
        QCOMPARE(w.List1->count(), n);
        int last = -1;
        connect(w.PB, &QProgressBar::valueChanged, this, [&](int v) { last = v; });
        w.Text1->setText("color");
        w.Text2->setText("colour");
        w.ReplaceRun();
        QCOMPARE(prompter->asked.size(), 0);
        QCOMPARE(w.PB->maximum(), n + 1);
        QCOMPARE(last, n - 1);
        QCOMPARE(w.List1->count(), 0);
        QCOMPARE(readBytes(paths.first()), QByteArray("var colour;\n"));
        QCOMPARE(readBytes(paths.last()), QByteArray("var colour;\n"));
    }
};

KESTRIN_REGISTER_TEST(frmReplaceTest);

#include "tst_frmReplace.moc"
