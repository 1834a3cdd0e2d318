#include "TestRegistry.h"
#include "ScriptedPrompter.h"

#include "editor/component/CodeEdit.h"
#include "editor/EditorStatusBar.h"
#include "editor/frmEdit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
