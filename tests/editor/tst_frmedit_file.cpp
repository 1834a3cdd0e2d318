#include "TestRegistry.h"
#include "ScriptedPrompter.h"

#include "document/FileFingerprint.h"
#include "editor/component/CodeEdit.h"
#include "editor/EditorStatusBar.h"
#include "editor/frmEdit.h"

#include <Qsci/qsciscintilla.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace kestrin;
using kestrin::test::RecordingDesktop;
using kestrin::test::ScriptedPrompter;
using Answer = Prompter::Answer;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Types into the document the way the user's edits arrive: through the component.
void edit(frmEdit &w, const QByteArray &text)
{
    w.RC->setSelectedText(text);
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void startsUntitledAndUnmodified()
    {
        frmEdit w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Marvolis KESTRIN Vozod 4 START"));
        QCOMPARE(w.documentPath(), QStringLiteral("Untitled"));
        QVERIFY(!w.DocumentModified);
        QVERIFY(w.RC->Text().isEmpty());
    }

    void saveQuestionAndCancelKeepsWindow()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        edit(w, "abc");
        QVERIFY(w.DocumentModified);
        prompter.answerQuestion(Answer::Cancel);
        QVERIFY(!w.close());
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(prompter.asked[0].kind, QStringLiteral("question"));
        QCOMPARE(prompter.asked[0].title, QStringLiteral("kestrin4"));
        QCOMPARE(prompter.asked[0].text, QStringLiteral("The file Untitled is changed and not saved. Save?"));
        QVERIFY(w.isVisible());
        QVERIFY(w.DocumentModified);
    }

    void closingUnmodifiedAsksNothing()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        QVERIFY(w.close());
        QVERIFY(prompter.asked.isEmpty());
    }

    void noClosesWithoutSaving()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        edit(w, "abc");
        prompter.answerQuestion(Answer::No);
        QVERIFY(w.close());
        QVERIFY(prompter.allAnswersUsed());
    }

    void yesThenCancelledSaveAsKeepsWindowOpen()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        edit(w, "abc");
        prompter.answerQuestion(Answer::Yes);
        prompter.answerFile(std::nullopt);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(w.DocumentModified);
        QVERIFY(prompter.allAnswersUsed());
    }

    void yesSavesThenCloses()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        edit(w, "<p>saved</p>");
        prompter.answerQuestion(Answer::Yes);
        prompter.answerFile(path(QStringLiteral("closing.htm")));
        QVERIFY(w.close());
        QCOMPARE(readAll(path(QStringLiteral("closing.htm"))), QByteArray("<p>saved</p>"));
    }

    void openWhileUnmodifiedAsksNoQuestion()
    {
        writeFile(path(QStringLiteral("open.php")), "<?php echo 1; ?>\n");
        ScriptedPrompter prompter;
        frmEdit w;
        prompter.answerFile(path(QStringLiteral("open.php")));
        w.mnuOpen_Click();
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(prompter.asked[0].kind, QStringLiteral("file"));
        QCOMPARE(prompter.asked[0].file.filter,
                 QStringLiteral("Supported files|*.htm;*.html;*.php;*.css;*.js;*.tpl|All files|*.*"));
        QVERIFY(!prompter.asked[0].file.save);
        QCOMPARE(w.RC->Text(), QByteArray("<?php echo 1; ?>\n"));
        QCOMPARE(w.documentPath(), path(QStringLiteral("open.php")));
        QVERIFY(!w.DocumentModified);
    }

    void openAfterYesAndCancelledSaveAsStops()
    {
        writeFile(path(QStringLiteral("other.php")), "other");
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "unsaved work");
        prompter.answerQuestion(Answer::Yes);
        prompter.answerFile(std::nullopt); // the Save As dialog
        w.mnuOpen_Click();
        QCOMPARE(w.RC->Text(), QByteArray("unsaved work"));
        QVERIFY(w.DocumentModified);
        QCOMPARE(prompter.asked.size(), 2); // no open dialog after the failed save
    }

    void openFailureKeepsDocumentAndSaysWhy()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("adir.htm")));
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "mine");
        w.DocumentModified = false;
        prompter.answerFile(path(QStringLiteral("adir.htm")));
        w.mnuOpen_Click();
        QCOMPARE(w.RC->Text(), QByteArray("mine"));
        QCOMPARE(w.documentPath(), QStringLiteral("Untitled"));
        QCOMPARE(prompter.asked.last().kind, QStringLiteral("message"));
        QCOMPARE(prompter.asked.last().title, QStringLiteral("kestrin4"));
        QVERIFY(prompter.asked.last().text.contains(QStringLiteral("adir.htm")));
    }

    void saveOnUntitledIsSaveAs()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "x");
        prompter.answerFile(std::nullopt);
        QVERIFY(!w.mnuSave_Click());
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].file.save);
        QCOMPARE(prompter.asked[0].file.filter,
                 QStringLiteral("Html files|*.htm;*.html|Php files|*.php|Css files|*.css|Js files|*.js|Tpl files|*.tpl"));
        QVERIFY(w.DocumentModified);
    }

    void saveAsUsesTheNameAsGiven()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "<html></html>");
        prompter.answerFile(path(QStringLiteral("page")), 1);
        QVERIFY(w.mnuSaveAs_Click());
        QCOMPARE(readAll(path(QStringLiteral("page"))), QByteArray("<html></html>"));
        QVERIFY(!QFile::exists(path(QStringLiteral("page.htm"))));
        QCOMPARE(w.documentPath(), path(QStringLiteral("page")));
        QVERIFY(!w.DocumentModified);
    }

    void saveAsTxtWritesStrippedTextOnly()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "<b>x</b>");
        prompter.answerFile(path(QStringLiteral("doc.htm")));
        QVERIFY(w.mnuSaveAs_Click());
        edit(w, "<i></i>"); // modified again
        prompter.answerFile(path(QStringLiteral("plain.txt")));
        w.mnuSaveAsTxt_Click();
        QCOMPARE(readAll(path(QStringLiteral("plain.txt"))), QByteArray("x\r\n"));
        QCOMPARE(w.documentPath(), path(QStringLiteral("doc.htm")));
        QVERIFY(w.DocumentModified);
        QVERIFY(w.mnuSave_Click());
        QVERIFY(!w.DocumentModified);
        QCOMPARE(readAll(path(QStringLiteral("doc.htm"))), QByteArray("<b>x</b><i></i>"));
        // The common dialog keeps the last name for the next dialog.
        QCOMPARE(w.Co.FileName, path(QStringLiteral("plain.txt")));
    }

    void cancelledSaveAsTxtWritesNothing()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "<b>x</b>");
        prompter.answerFile(std::nullopt);
        w.mnuSaveAsTxt_Click();
        QVERIFY(w.DocumentModified);
        QCOMPARE(w.documentPath(), QStringLiteral("Untitled"));
    }

    void failedSaveIsReportedAndKeepsTheFlag()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("taken.htm")));
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "work");
        prompter.answerFile(path(QStringLiteral("taken.htm")));
        QVERIFY(!w.mnuSaveAs_Click());
        QVERIFY(w.DocumentModified);
        QCOMPARE(w.documentPath(), QStringLiteral("Untitled"));
        QCOMPARE(prompter.asked.last().kind, QStringLiteral("message"));
        QCOMPARE(prompter.asked.last().title, QStringLiteral("kestrin4"));
        QVERIFY(prompter.asked.last().text.contains(QStringLiteral("taken.htm")));
        // And closing still asks.
        w.show();
        prompter.answerQuestion(Answer::Cancel);
        QVERIFY(!w.close());
    }

    void newStartsOurOwnExecutable()
    {
        RecordingDesktop desktop;
        ScriptedPrompter prompter;
        frmEdit w;
        edit(w, "keep me");
        w.mnuNew_Click();
        QCOMPARE(desktop.started.size(), 1);
        QCOMPARE(desktop.started[0].first, QCoreApplication::applicationFilePath());
        QVERIFY(desktop.started[0].second.isEmpty());
        QCOMPARE(w.RC->Text(), QByteArray("keep me"));
        QVERIFY(w.DocumentModified);
        QVERIFY(prompter.asked.isEmpty());
    }

    void commandLineDocumentIsLoaded()
    {
        writeFile(path(QStringLiteral("cmd.php")), "<?php ?>");
        frmEdit w({path(QStringLiteral("cmd.php")), {}});
        QCOMPARE(w.RC->Text(), QByteArray("<?php ?>"));
        QCOMPARE(w.documentPath(), path(QStringLiteral("cmd.php")));
        QVERIFY(!w.DocumentModified);
    }

    void missingCommandLineDocumentIsCreatedBySave()
    {
        ScriptedPrompter prompter;
        frmEdit w({path(QStringLiteral("brand-new.htm")), {}});
        QCOMPARE(w.documentPath(), path(QStringLiteral("brand-new.htm")));
        QVERIFY(prompter.asked.isEmpty());
        edit(w, "<p>new</p>");
        QVERIFY(w.mnuSave_Click());
        QCOMPARE(readAll(path(QStringLiteral("brand-new.htm"))), QByteArray("<p>new</p>"));
    }

    void unreadableCommandLineDocumentStaysUntitled()
    {
        writeFile(path(QStringLiteral("binary.php")), QByteArray("PK\x03\x04\0\0\0binary", 13));
        ScriptedPrompter prompter;
        frmEdit w({path(QStringLiteral("binary.php")), {}});
        QCOMPARE(w.documentPath(), QStringLiteral("Untitled"));
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(prompter.asked[0].title, QStringLiteral("kestrin4"));
        QVERIFY(prompter.asked[0].text.contains(QStringLiteral("binary.php")));
        // Save goes through Save As and cannot overwrite the file by accident.
        edit(w, "x");
        prompter.answerFile(std::nullopt);
        QVERIFY(!w.mnuSave_Click());
        QCOMPARE(readAll(path(QStringLiteral("binary.php"))), QByteArray("PK\x03\x04\0\0\0binary", 13));
    }

    // Save over a file another program changed since it was opened (or since our own last save)
    // asks first; Yes writes (a deleted file is created again), No leaves their file and the flag.
    void saveOverAFileChangedOnDisk_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("yes");
        for (const char *change : {"content, time kept", "only the time", "size", "deleted", "symbolic link",
                                   "content, time kept, hashed"}) {
            QTest::addRow("%s, yes", change) << change << true;
            QTest::addRow("%s, no", change) << change << false;
        }
        QTest::newRow("our own previous save") << "own save" << true;
    }
    void saveOverAFileChangedOnDisk()
    {
        QFETCH(QString, change);
        QFETCH(bool, yes);
        QTemporaryDir dir;
        const QString page = dir.filePath("page.html"), other = dir.filePath("other.html");
        writeFile(page, "<p>one</p>\n");
        FileFingerprint::setAlwaysHash(change.endsWith("hashed"));
        auto normal = qScopeGuard([] { FileFingerprint::setAlwaysHash(false); });
        ScriptedPrompter prompter;
        frmEdit w({page, {}});
        edit(w, "mine");
        QByteArray theirs = "<p>two</p>\n";
        if (change.startsWith("content")) {
            // Same size, and the modification time put back to the nanosecond.
            struct stat st {};
            QVERIFY(::stat(qPrintable(page), &st) == 0);
            writeFile(page, theirs);
            const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
            QVERIFY(::utimensat(AT_FDCWD, qPrintable(page), times, 0) == 0);
        } else if (change == "only the time") {
            theirs = "<p>one</p>\n";
            QFile f(page);
            QVERIFY(f.open(QIODevice::ReadWrite)
                    && f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        } else if (change == "size") {
            theirs = "<p>one</p>\n<p>more</p>\n";
            writeFile(page, theirs);
        } else if (change == "deleted") {
            theirs = "<missing>";
            QVERIFY(QFile::remove(page));
        } else if (change == "symbolic link") {
            writeFile(other, theirs);
            QVERIFY(QFile::remove(page) && QFile::link(other, page));
        } else {
            QVERIFY(w.mnuSave_Click());
            edit(w, "more ");
        }
        const QByteArray ours = w.RC->Text();
        const bool asks = change != "own save";
        if (asks)
            prompter.answerQuestion(yes ? Answer::Yes : Answer::No);
        QCOMPARE(w.mnuSave_Click(), yes);
        QCOMPARE(prompter.asked.size(), asks ? 1 : 0);
        if (asks) {
            QCOMPARE(prompter.asked[0].kind, QStringLiteral("yesno"));
            QCOMPARE(prompter.asked[0].title, QStringLiteral("kestrin4"));
            QCOMPARE(prompter.asked[0].text,
                     QStringLiteral("The file %1 was changed by another program since it was opened. Overwrite it?").arg(page));
        }
        QCOMPARE(readAll(page), yes ? ours : theirs);
        QCOMPARE(w.DocumentModified, !yes);
        QCOMPARE(QFileInfo(page).isSymLink(), change == "symbolic link");
        // Our own save is remembered: the next one does not ask.
        if (yes) {
            edit(w, "again ");
            QVERIFY(w.mnuSave_Click());
            QCOMPARE(prompter.asked.size(), asks ? 1 : 0);
        }
    }

    // A character the file's encoding cannot hold: one question, then references or escapes in the
    // document's language (one undo step, the encoding kept), UTF-8 from then on, or nothing at all.
    void unencodableCharacterChoice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");    // as another editor wrote it
        QTest::addColumn<int>("button");         // -1: no question
        QTest::addColumn<QByteArray>("written"); // "" : nothing written
        QTest::addColumn<QByteArray>("text");    // the document after the save
        QTest::addColumn<QString>("encoding");   // the document's encoding after the save
        const QByteArray cp1252 = "caf\xE9\n", typed = "ā😀", shown = typed + "café\n";
        QTest::newRow("html, references") << "p.html" << cp1252 << 0 << QByteArray("&#257;&#128512;caf\xE9\n")
                                          << QByteArray("&#257;&#128512;café\n") << "Windows-1252";
        QTest::newRow("php, references") << "p.php" << cp1252 << 0 << QByteArray("&#257;&#128512;caf\xE9\n")
                                         << QByteArray("&#257;&#128512;café\n") << "Windows-1252";
        QTest::newRow("css, escapes") << "p.css" << cp1252 << 0 << QByteArray("\\101 \\1F600 caf\xE9\n")
                                      << QByteArray("\\101 \\1F600 café\n") << "Windows-1252";
        QTest::newRow("js, escapes") << "p.js" << cp1252 << 0 << QByteArray("\\u0101\\u{1F600}caf\xE9\n")
                                     << QByteArray("\\u0101\\u{1F600}café\n") << "Windows-1252";
        QTest::newRow("html, UTF-8") << "p.html" << cp1252 << 1 << shown << shown << "UTF-8";
        QTest::newRow("css, cancel") << "p.css" << cp1252 << 2 << QByteArray() << shown << "Windows-1252";
        QTest::newRow("js, UTF-8 file") << "p.js" << QByteArray("café\n") << -1 << shown << shown << "UTF-8";
        QTest::newRow("php, UTF-16 file") << "p.php" << QByteArray("\xFF\xFE" "c\0a\0f\0\xE9\0\n\0", 12) << -1
                                          << QByteArray("\xFF\xFE\x01\x01=\xD8\0\xDE" "c\0a\0f\0\xE9\0\n\0", 18) << shown
                                          << "UTF-16LE";
    }
    void unencodableCharacterChoice()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(int, button);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, text);
        QFETCH(QString, encoding);
        QTemporaryDir dir;
        const QString page = dir.filePath(name);
        writeFile(page, file);
        ScriptedPrompter prompter;
        frmEdit w({page, {}});
        edit(w, "ā😀");
        if (button >= 0)
            prompter.answerChoice(button);
        QCOMPARE(w.mnuSave_Click(), button != 2);
        QCOMPARE(prompter.asked.size(), button >= 0 ? 1 : 0);
        if (button >= 0) {
            const auto &asked = prompter.asked[0];
            QCOMPARE(asked.title, QStringLiteral("kestrin4"));
            QCOMPARE(asked.text, QStringLiteral("2 characters cannot be written in Windows-1252, the encoding of the "
                                                "file %1. The first is \"ā\" (U+0101) on line 1.").arg(page));
            QCOMPARE(asked.buttons, (QStringList{name.endsWith("ss") || name.endsWith("js") ? "Use escapes"
                                                                                          : "Use character references",
                                                 "Save as UTF-8", "Cancel"}));
        }
        QCOMPARE(readAll(page), written.isEmpty() ? file : written);
        QCOMPARE(w.RC->Text(), text);
        QCOMPARE(w.RC->encodingName(), encoding);
        QCOMPARE(w.DocumentModified, button == 2);
        if (button == 2)
            return;
        // Typing goes on after the same character; saving again asks nothing: the characters are
        // gone, or the file is UTF-8 now.
        const QByteArray more = encoding == "Windows-1252" ? "x" : "ā";
        edit(w, more);
        QCOMPARE(w.RC->Text(), QByteArray(text).insert(text.indexOf("caf"), more));
        QVERIFY(w.mnuSave_Click());
        QCOMPARE(prompter.asked.size(), button >= 0 ? 1 : 0);
        // The rewrite was one undo step of its own.
        w.RC->Undo();
        w.RC->Undo();
        QCOMPARE(w.RC->Text(), button == 0 ? QByteArray("ā😀café\n") : QByteArray("café\n"));
    }

    // When the window comes to the front, a file changed on disk is taken in quietly, the caret on
    // its line, unless the document has changes of its own (then Save asks).
    void activationReloadsAnUnchangedDocument_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::newRow("no unsaved change: reloaded") << false;
        QTest::newRow("unsaved change: kept") << true;
    }
    void activationReloadsAnUnchangedDocument()
    {
        QFETCH(bool, modified);
        QTemporaryDir dir;
        const QString page = dir.filePath("page.html");
        writeFile(page, "one\ntwo\nthree\n");
        ScriptedPrompter prompter;
        frmEdit w({page, {}});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.RC->GoToLine(3);
        if (modified)
            edit(w, "mine ");
        const QByteArray before = w.RC->Text();
        writeFile(page, "ONE\nTWO\nTHREE\nFOUR\n");
        QEvent activated(QEvent::ActivationChange);
        QCoreApplication::sendEvent(&w, &activated);
        QCOMPARE(w.RC->Text(), modified ? before : QByteArray("ONE\nTWO\nTHREE\nFOUR\n"));
        QCOMPARE(w.DocumentModified, modified);
        int line = 0, index = 0;
        static_cast<QsciScintilla *>(w.RC->editorWidget())->getCursorPosition(&line, &index);
        QCOMPARE(line, 2);
        QVERIFY(prompter.asked.isEmpty());
    }

    void shortcutsAreWindowWide_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("mnuNew") << "mnuNew" << "New" << QKeySequence(QStringLiteral("Ctrl+N"));
        QTest::newRow("mnuOpen") << "mnuOpen" << "Open" << QKeySequence(QStringLiteral("Ctrl+O"));
        QTest::newRow("mnuSave") << "mnuSave" << "Save" << QKeySequence(QStringLiteral("Ctrl+S"));
        QTest::newRow("mnuSaveAs") << "mnuSaveAs" << "Save As..." << QKeySequence(QStringLiteral("Ctrl+Q"));
        QTest::newRow("mnuSaveAsTxt") << "mnuSaveAsTxt" << "Save as txt..." << QKeySequence();
        QTest::newRow("mnuExit") << "mnuExit" << "Exit" << QKeySequence(QStringLiteral("Ctrl+X"));
    }
    void shortcutsAreWindowWide()
    {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        frmEdit w;
        auto *a = w.findChild<QAction *>(action);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut(), shortcut);
        QCOMPARE(a->shortcutContext(), Qt::WindowShortcut);
    }

    void ctrlXInTheEditorExitsAndDoesNotCut()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        edit(w, "text");
        w.RC->ExecuteCommand(EditorCommand::SelectAll);
        w.RC->setFocus();
        prompter.answerQuestion(Answer::Cancel);
        QTest::keyClick(w.RC->editorWidget(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(prompter.asked.size(), 1); // the save question of Exit
        QCOMPARE(w.RC->Text(), QByteArray("text"));
        QVERIFY(w.isVisible());
    }
};

KESTRIN_REGISTER_TEST(FileCommandsTest);
#include "tst_frmedit_file.moc"
