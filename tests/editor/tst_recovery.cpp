#include "FailingFolder.h"
#include "FileBytes.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "document/JournalWriter.h"
#include "editor/component/CodeEdit.h"
#include "editor/frmEdit.h"

#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace kestrin;
using namespace kestrin::test;
using Answer = Prompter::Answer;

namespace {

// The journal of w's document as a later start would read it, once what is queued is written.
QString journalOf(frmEdit &w) { JournalWriter *j = w.RC->document()->journal(); j->flush(); return j->journalPath(); }
QByteArray journalText(frmEdit &w)
{
    QFile f(journalOf(w));
    return f.open(QIODevice::ReadOnly) ? readJournal(f).text : QByteArray("(none)");
}
int asked(const ScriptedPrompter &p, const QString &kind)
{
    return int(std::count_if(p.asked.begin(), p.asked.end(), [&kind](const auto &a) { return a.kind == kind; }));
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(m_state.emplace().isValid());
        qputenv("XDG_STATE_HOME", m_state->path().toUtf8());
        m_folder = recoveryFolderPath();
    }

    // When a journal exists: from the first change to a durable save, Undo back to the save point or No to the save
    // question; a failed save keeps it; another running editor's journal is never offered; a signal's end keeps it for
    // the next start, which offers it (Recover: the text, path and format, modified); a clean exit leaves none.
    void lifecycle()
    {
        QTemporaryDir dir;
        const QString doc = dir.filePath("page.htm");
        QVERIFY(writeBytes(doc, "caf\xe9\r\n"));
        ScriptedPrompter prompter;
        auto w = std::make_unique<frmEdit>(frmEdit::Startup{doc});
        QCOMPARE(journalOf(*w), QString());
        w->RC->setSelectedText("a\r\n");
        QCOMPARE(journalText(*w), QByteArray("a\r\ncaf\xc3\xa9\r\n"));
        w->RC->Undo();
        QVERIFY(!w->DocumentModified() && journalOf(*w).isEmpty() && QDir(m_folder).isEmpty());

        w->RC->setSelectedText("b");
        {
            test::FailingFolder readOnly(dir.path(), test::FailingFolder::Kind::ReadOnly);
            if (!readOnly.ok()) QSKIP(qPrintable(readOnly.why()));
            QVERIFY(!w->mnuSave_Click());
        }
        QCOMPARE(journalText(*w), QByteArray("bcaf\xc3\xa9\r\n"));
        QVERIFY(w->mnuSave_Click());
        QVERIFY(journalOf(*w).isEmpty() && QDir(m_folder).isEmpty());
        QCOMPARE(readBytes(doc), QByteArray("bcaf\xe9\r\n"));

        w->RC->setSelectedText("c");
        QVERIFY(!journalOf(*w).isEmpty());
        prompter.answerQuestion(Answer::No), prompter.answerFile(std::nullopt); // the save question of Open; then its dialog is cancelled
        w->mnuOpen_Click();
        QVERIFY(journalOf(*w).isEmpty() && QDir(m_folder).isEmpty());

        w->RC->setSelectedText("d\r\n"), journalOf(*w);
        frmEdit(frmEdit::Startup{doc}); // a second editor: the first one's journal is not offered
        QCOMPARE(asked(prompter, "choice"), 0);
        w->endWithoutQuestion(143), w.reset(); // as SIGTERM ends it
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), 1);

        prompter.answerChoice(0); // Recover
        w = std::make_unique<frmEdit>(frmEdit::Startup{doc});
        QCOMPARE(asked(prompter, "choice"), 1);
        QVERIFY(prompter.asked.last().text.contains(QDir::toNativeSeparators(doc)));
        QCOMPARE(prompter.asked.last().buttons, (QStringList{"Recover", "Discard", "Cancel"}));
        QVERIFY(w->DocumentModified());
        QCOMPARE(w->RC->Text(), QByteArray("bcd\r\ncaf\xc3\xa9\r\n"));
        QCOMPARE(w->documentPath(), doc);
        w->RC->setSelectedText("e"); // the recovered journal goes on
        QCOMPARE(journalText(*w), QByteArray("ebcd\r\ncaf\xc3\xa9\r\n"));
        QVERIFY(w->mnuSave_Click());
        QCOMPARE(readBytes(doc), QByteArray("ebcd\r\ncaf\xe9\r\n"));
        w->RC->setSelectedText("f");
        prompter.answerQuestion(Answer::No);
        QVERIFY(w->close());
        w.reset();
        QVERIFY(QDir(m_folder).isEmpty());
        QVERIFY(prompter.allAnswersUsed());
    }

    // The journal of a file another program changed after the load starts from the text shown, not
    // from the file; deletions and an encoding chosen later are recorded.
    void journalOfAChangedFile()
    {
        QTemporaryDir dir;
        const QString doc = dir.filePath("a.htm");
        CodeEdit edit;
        edit.keepJournalIn(m_folder);
        QVERIFY(writeBytes(doc, "old\n") && edit.LoadFile(doc) && writeBytes(doc, "other\n"));
        edit.setSelectedText("xy");
        QTest::keyClick(edit.editorWidget(), Qt::Key_Backspace); // a deletion is journalled too
        edit.document()->setEncodingName("UTF-16LE");
        edit.document()->journal()->flush();
        QFile f(edit.document()->journal()->journalPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const JournalContents r = readJournal(f);
        QVERIFY(r.text == "xold\n" && r.header.format.encoding == TextFormat::Encoding::Utf16LE);
    }

    // What a start offers: a damaged journal with Discard and Cancel only and the reason; Cancel
    // keeps it; without a document the newest journal of any, a named file's too; Discard removes it. A full disk is
    // told once for the document, and editing goes on.
    void offersAndFailures()
    {
        ScriptedPrompter prompter;
        QString why;
        QVERIFY(prepareRecoveryFolder(m_folder, &why));
        QVERIFY(writeBytes(m_folder + "/1-1-1.k4j", "<?php a journal it is not"));
        prompter.answerChoice(1); // Cancel
        { frmEdit w; }
        QCOMPARE(prompter.asked.last().buttons, (QStringList{"Discard", "Cancel"}));
        QVERIFY(prompter.asked.last().text.contains("Untitled"));
        QVERIFY(prompter.asked.last().text.contains("not a recovery journal") && QFile::exists(m_folder + "/1-1-1.k4j"));
        prompter.answerChoice(0); // Discard
        { frmEdit w; }
        QVERIFY(QDir(m_folder).isEmpty());
        JournalWriter::Start named; // a named file's journal, offered to a start without a document too
        named.header.path = QStringLiteral("/nonexistent/named.php"), named.header.baseLength = 1, named.baseText = "n";
        { JournalWriter j(m_folder); j.begin(named), j.keep(); }
        prompter.answerChoice(1); // Discard
        { frmEdit w; }
        QVERIFY(prompter.asked.last().text.contains("named.php") && QDir(m_folder).isEmpty());

        test::FailingFolder full(m_folder, test::FailingFolder::Kind::Full);
        if (!full.ok()) QSKIP(qPrintable(full.why()));
        QVERIFY(::chmod(QFile::encodeName(m_folder).constData(), 0700) == 0); // a tmpfs starts open to all
        frmEdit w;
        const QByteArray big(1 << 20, 'x');
        for (int i = 0; i < 3; ++i) {
            w.RC->setSelectedText(big);
            journalOf(w);
            QTest::qWait(50);
        }
        QCOMPARE(asked(prompter, "message"), 1);
        QCOMPARE(w.RC->length(), qint64(3 << 20));
        prompter.answerQuestion(Answer::No);
        QVERIFY(w.close());
    }

private:
    std::optional<QTemporaryDir> m_state;
    QString m_folder;
};

KESTRIN_REGISTER_TEST(RecoveryTest);

#include "tst_recovery.moc"
