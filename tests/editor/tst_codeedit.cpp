#include "TestRegistry.h"

#include "editor/component/CodeEdit.h"
#include "editor/component/FindReplaceDialog.h"

#include <Qsci/qsciscintillabase.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kestrin;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestCodeEditText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadingIsNotAChange()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.html");
        writeFile(path, "<b>x</b>\r\n");
        CodeEdit edit;
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        QVERIFY(edit.LoadFile(path));
        QCoreApplication::processEvents();
        QCOMPARE(changed.count(), 0);
        QVERIFY(!edit.CanUndo());
        QCOMPARE(edit.Text(), QByteArray("<b>x</b>\r\n"));
        writeFile(dir.filePath("b.php"), QByteArray(300'000, 'a') + QByteArray(1, '\0')); // NUL after the first piece
        QVERIFY(!edit.LoadFile(dir.filePath("b.php")));
        QCOMPARE(edit.Text(), QByteArray("<b>x</b>\r\n"));
    }

    void enterUsesTheDocumentsLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("crlf") << QByteArray("ab\r\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("cr") << QByteArray("ab\r") << QByteArray("a\rb\r");
        QTest::newRow("lf") << QByteArray("ab\n") << QByteArray("a\nb\n");
    }
    void enterUsesTheDocumentsLineEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.php");
        writeFile(path, bytes);
        CodeEdit edit;
        QVERIFY(edit.LoadFile(path));
        edit.GoToLine(1);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Return);
        QCOMPARE(edit.Text(), expected);
    }


    void writingTheSelectedTextChangesNothing()
    {
        CodeEdit edit;
        edit.setText("one two three");
        while (edit.CanUndo())
            edit.Undo();
        edit.setText("one two three");
        QTest::keyClick(edit.editorWidget(), Qt::Key_Home);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.SelectedText(), QByteArray("two"));
        QVERIFY(edit.CanUndo());
        edit.Undo(); // back to empty, then redo: one known undo step
        edit.Redo();
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        edit.GoToLine(1);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        edit.setSelectedText("two");
        QCoreApplication::processEvents();
        QCOMPARE(changed.count(), 0);
        edit.Undo(); // the only undo step is still setText's
        QCOMPARE(edit.Text(), QByteArray());
    }

    void setSelectedTextIsOneUndoStepAndMovesCaret()
    {
        CodeEdit edit;
        edit.setText("ab");
        QTest::keyClick(edit.editorWidget(), Qt::Key_End);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Left);
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        edit.setSelectedText("<b>\r\n</b>");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(edit.Text(), QByteArray("a<b>\r\n</b>b"));
        edit.setSelectedText("|");
        QCOMPARE(edit.Text(), QByteArray("a<b>\r\n</b>|b"));
        edit.Undo();
        edit.Undo();
        QCOMPARE(edit.Text(), QByteArray("ab"));
    }

    void setTextIsOneUndoStep()
    {
        CodeEdit edit;
        edit.setText("first");
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        edit.setText("second\nwith two lines");
        QCOMPARE(changed.count(), 1);
        edit.Undo();
        QCOMPARE(edit.Text(), QByteArray("first"));
        QCOMPARE(changed.count(), 2);
        edit.Redo();
        QCOMPARE(edit.Text(), QByteArray("second\nwith two lines"));
    }

    void textKeepsNulBytes()
    {
        CodeEdit edit;
        const QByteArray t("a\0b", 3);
        edit.setText(t);
        QCOMPARE(edit.Text(), t);
        QCOMPARE(edit.length(), 3);
    }

    void documentLineEnds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("lf document") << QByteArray("x\n") << QByteArray("<p>\n</p>");
        QTest::newRow("crlf document") << QByteArray("x\r\n") << QByteArray("<p>\r\n</p>");
        QTest::newRow("cr document") << QByteArray("x\r") << QByteArray("<p>\r</p>");
    }
    void documentLineEnds()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        writeFile(dir.filePath("a.php"), file);
        CodeEdit edit;
        QVERIFY(edit.LoadFile(dir.filePath("a.php")));
        QCOMPARE(convertLineEnds("<p>\r\n</p>", edit.lineEndStyle()), expected);
    }

    void goToLine_data()
    {
        QTest::addColumn<qint64>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("selectionAfterShiftEnd");
        QTest::newRow("first") << qint64(1) << true << QByteArray("l1");
        QTest::newRow("third") << qint64(3) << true << QByteArray("l3");
        QTest::newRow("beyond the end") << qint64(99) << true << QByteArray("l4");
        QTest::newRow("beyond 32 bits") << qint64(1) << true << QByteArray("l1");
        QTest::newRow("zero") << qint64(0) << false << QByteArray();
        QTest::newRow("negative") << qint64(-5) << false << QByteArray();
    }
    void goToLine()
    {
        QFETCH(qint64, line);
        QFETCH(bool, ok);
        QFETCH(QByteArray, selectionAfterShiftEnd);
        CodeEdit edit;
        edit.setText("l1\nl2\nl3\nl4");
        edit.GoToLine(2);
        if (QByteArray(QTest::currentDataTag()) == "beyond 32 bits")
            line = qint64(1) << 40;
        QCOMPARE(edit.GoToLine(line, true), ok);
        if (!ok)
            return;
        if (line > 4)
            selectionAfterShiftEnd = "l4";
        QTest::keyClick(edit.editorWidget(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(edit.SelectedText(), selectionAfterShiftEnd);
    }
};

class TestCodeEditFind : public QObject {
    Q_OBJECT
private:
    static FindReplaceDialog *dialogOf(CodeEdit &edit) { return edit.findChild<FindReplaceDialog *>(); }

private Q_SLOTS:
    void findSelectsAndValue33WritesBackUnchanged()
    {
        CodeEdit edit;
        edit.setText("alpha beta alpha");
        edit.ExecuteCommand(EditorCommand::FindDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        QVERIFY(dlg);
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->isReplaceMode());
        dlg->findEdit()->setText("alpha");
        dlg->findNext();
        QCOMPARE(edit.SelectedText(), QByteArray("alpha"));
        QCOMPARE(edit.value33(), QByteArray("alpha"));
        QVERIFY(edit.CanUndo()); // setText's step
        edit.setSelectedText(edit.value33());
        edit.Undo();
        QCOMPARE(edit.Text(), QByteArray()); // value33 written back added no undo step
        dlg->close();
    }

    void findNextRepeatsWithoutDialogAndWraps()
    {
        CodeEdit edit;
        edit.setText("x1 x2 x3");
        edit.ExecuteCommand(EditorCommand::FindDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        dlg->findEdit()->setText("x");
        dlg->findNext();
        dlg->close();
        QCOMPARE(edit.SelectedText(), QByteArray("x"));
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.SelectedText(), QByteArray("x1"));
        edit.ExecuteCommand(EditorCommand::FindNext);
        QVERIFY(!dlg->isVisible());
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.SelectedText(), QByteArray("x2"));
        edit.ExecuteCommand(EditorCommand::FindNext);
        edit.ExecuteCommand(EditorCommand::FindNext); // wraps to the first
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.SelectedText(), QByteArray("x1"));
    }

    void notFoundKeepsSelectionAndSaysSo()
    {
        CodeEdit edit;
        edit.setText("abc");
        edit.ExecuteCommand(EditorCommand::SelectAll);
        edit.ExecuteCommand(EditorCommand::FindDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        dlg->findEdit()->setText("zzz");
        dlg->findNext();
        QVERIFY(dlg->statusText().contains("Cannot find"));
        QCOMPARE(edit.value33(), QByteArray("abc"));
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        edit.setSelectedText(edit.value33());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(edit.Text(), QByteArray("abc"));
    }

    void search_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<QString>("with");
        QTest::addColumn<QByteArray>("afterReplaceAll");
        QTest::addColumn<QString>("status");
        QTest::newRow("plain, any case") << QByteArray("Cat cat CAT") << "cat" << false << false << false << "dog"
                                         << QByteArray("dog dog dog") << "Replaced 3 occurrences.";
        QTest::newRow("match case") << QByteArray("Cat cat CAT") << "cat" << true << false << false << "dog"
                                    << QByteArray("Cat dog CAT") << "Replaced 1 occurrence.";
        QTest::newRow("whole word") << QByteArray("cat cats cat") << "cat" << false << true << false << "x"
                                    << QByteArray("x cats x") << "Replaced 2 occurrences.";
        QTest::newRow("regex with group") << QByteArray("<b>a</b> <b>bb</b>") << "<b>([a-z]*)</b>" << false
                                          << false << true << "[\\1]" << QByteArray("[a] [bb]")
                                          << "Replaced 2 occurrences.";
        QTest::newRow("regex posix group") << QByteArray("id=1 id=22") << "id=([0-9]+)" << false << false << true
                                           << "n\\1" << QByteArray("n1 n22") << "Replaced 2 occurrences.";
        QTest::newRow("empty regex match at line starts") << QByteArray("a\nb\n") << "^" << false << false << true
                                                          << "> " << QByteArray("> a\n> b\n> ")
                                                          << "Replaced 3 occurrences.";
        QTest::newRow("replacement contains the text") << QByteArray("aa") << "a" << false << false << false << "aa"
                                                       << QByteArray("aaaa") << "Replaced 2 occurrences.";
        QTest::newRow("utf8 text") << QByteArray("caf\xC3\xA9 caf\xC3\xA9") << "caf\xC3\xA9" << true << false
                                   << false << "tea" << QByteArray("tea tea") << "Replaced 2 occurrences.";
        QTest::newRow("no match") << QByteArray("abc") << "q" << false << false << false << "z" << QByteArray("abc")
                                  << "Cannot find \"q\".";
    }
    void search()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(bool, regex);
        QFETCH(QString, with);
        QFETCH(QByteArray, afterReplaceAll);
        QFETCH(QString, status);
        CodeEdit edit;
        edit.setText(text);
        edit.ExecuteCommand(EditorCommand::ReplaceDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        QVERIFY(dlg->isReplaceMode());
        dlg->findEdit()->setText(what);
        dlg->replaceEdit()->setText(with);
        auto box = [&](const char *name) {
            for (auto *b : dlg->findChildren<QAbstractButton *>())
                if (b->accessibleName() == QLatin1String(name))
                    return b;
            return static_cast<QAbstractButton *>(nullptr);
        };
        box("Match case")->setChecked(matchCase);
        box("Match whole word only")->setChecked(wholeWord);
        box("Regular expression")->setChecked(regex);
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        box("Replace All")->click();
        QCOMPARE(edit.Text(), afterReplaceAll);
        QCOMPARE(dlg->statusText(), status);
        QCOMPARE(changed.count(), text == afterReplaceAll ? 0 : 1);
        if (text != afterReplaceAll) {
            edit.Undo(); // one step undoes every replacement
            QCOMPARE(edit.Text(), text);
        }
        dlg->close();
    }

    void replaceReplacesTheSelectedMatchThenFindsNext()
    {
        CodeEdit edit;
        edit.setText("a-a-a");
        edit.ExecuteCommand(EditorCommand::ReplaceDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        dlg->findEdit()->setText("a");
        dlg->replaceEdit()->setText("bb");
        dlg->replaceOne(); // nothing selected yet: finds the first
        QCOMPARE(edit.Text(), QByteArray("a-a-a"));
        dlg->replaceOne();
        QCOMPARE(edit.Text(), QByteArray("bb-a-a"));
        QCOMPARE(edit.SelectedText(), QByteArray("a"));
        dlg->replaceOne();
        QCOMPARE(edit.Text(), QByteArray("bb-bb-a"));
        dlg->close();
    }

    void backwardsSearch()
    {
        CodeEdit edit;
        edit.setText("x1 x2 x3");
        QTest::keyClick(edit.editorWidget(), Qt::Key_End);
        edit.ExecuteCommand(EditorCommand::FindDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        dlg->findEdit()->setText("x");
        for (auto *b : dlg->findChildren<QAbstractButton *>())
            if (b->accessibleName() == "Search backwards")
                b->setChecked(true);
        dlg->findNext();
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(edit.SelectedText(), QByteArray("x3"));
        dlg->close();
    }

    void everyDialogControlHasAName()
    {
        CodeEdit edit;
        edit.ExecuteCommand(EditorCommand::ReplaceDialog);
        FindReplaceDialog *dlg = dialogOf(edit);
        for (QWidget *w : dlg->findChildren<QWidget *>())
            if (w->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
        dlg->close();
    }
};

class TestCodeEditKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyEventOnTextChangingKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("changes");
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << true;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << true;
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << true;
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << false;
        QTest::newRow("shift+right") << int(Qt::Key_Right) << int(Qt::ShiftModifier) << false;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << false;
        QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier) << false;
        QTest::newRow("ctrl+x does not cut") << int(Qt::Key_X) << int(Qt::ControlModifier) << false;
    }
    void keyEventOnTextChangingKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, changes);
        CodeEdit edit;
        edit.setText("abcd");
        edit.GoToLine(1);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QSignalSpy keyEvents(&edit, &CodeEdit::KeyEvent);
        QSignalSpy keyDowns(&edit, &CodeEdit::KeyDown);
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        QTest::keyClick(edit.editorWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(keyEvents.count(), changes ? 1 : 0);
        QCOMPARE(changed.count(), changes ? 1 : 0);
        QCOMPARE(edit.Text() != "abcd", changes);
        QVERIFY(keyDowns.count() >= 1);
    }

    void typingRaisesKeyEventPerKeystroke()
    {
        CodeEdit edit;
        QSignalSpy keyEvents(&edit, &CodeEdit::KeyEvent);
        QTest::keyClicks(edit.editorWidget(), "hello");
        QCOMPARE(edit.Text(), QByteArray("hello"));
        QCOMPARE(keyEvents.count(), 5);
    }

    void keyDownCodesAndShiftState_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("shift");
        QTest::newRow("ctrl+insert") << int(Qt::Key_Insert) << int(Qt::ControlModifier) << 45 << 2;
        QTest::newRow("ctrl+shift+c") << int(Qt::Key_C) << int(Qt::ControlModifier | Qt::ShiftModifier) << 67 << 3;
        QTest::newRow("alt+f3") << int(Qt::Key_F3) << int(Qt::AltModifier) << 0x72 << 4;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << 46 << 0;
    }
    void keyDownCodesAndShiftState()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        QFETCH(int, shift);
        CodeEdit edit;
        QSignalSpy keyDowns(&edit, &CodeEdit::KeyDown);
        QTest::keyClick(edit.editorWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!keyDowns.isEmpty()); // the modifier keys come first, as key downs of their own
        QCOMPARE(keyDowns.last().at(0).toInt(), code);
        QCOMPARE(keyDowns.last().at(1).toInt(), shift);
    }

    void ctrlVPastesOnceThroughTheWindowsHandler()
    {
        CodeEdit edit;
        edit.setText("ab");
        edit.GoToLine(1);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        // The window's KeyDown handler: Ctrl+V runs command 140.
        connect(&edit, &CodeEdit::KeyDown, &edit, [&edit](int code, int shift) {
            if (code == 86 && shift == 2)
                edit.ExecuteCommand(EditorCommand::Paste);
        });
        QApplication::clipboard()->setText("X\r\nY");
        QSignalSpy keyEvents(&edit, &CodeEdit::KeyEvent);
        QTest::keyClick(edit.editorWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.Text(), QByteArray("aX\nYb")); // once, in the document's line ends
        QCOMPARE(keyEvents.count(), 1);
        edit.Undo();
        QCOMPARE(edit.Text(), QByteArray("ab"));
    }

    void pasteOfEmptyClipboardDeletesSelection()
    {
        CodeEdit edit;
        edit.setText("abc");
        edit.ExecuteCommand(EditorCommand::SelectAll);
        QApplication::clipboard()->clear();
        edit.ExecuteCommand(EditorCommand::Paste);
        QCOMPARE(edit.Text(), QByteArray());
    }

    void copyPutsPlainText()
    {
        CodeEdit edit;
        edit.setText("caf\xC3\xA9");
        edit.ExecuteCommand(EditorCommand::SelectAll);
        edit.ExecuteCommand(EditorCommand::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("caf\xC3\xA9"));
    }

    void insertTogglesOvertype()
    {
        CodeEdit edit;
        QSignalSpy spy(&edit, &CodeEdit::overtypeChanged);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Insert);
        QCOMPARE(spy.count(), 1);
        QVERIFY(edit.isOvertype());
        QCOMPARE(spy.at(0).at(0).toBool(), true);
    }

    // The accessible's offsets are UTF-16 units: the caret at byte pos is at offset, the offset
    // maps back to pos, and the line at it is line.
    void accessibleOffsets_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("line");
        QTest::newRow("2-byte") << QByteArray("x\xc3\xa9\ny\xc3\xa9") << 5 << 4 << 5 << QString::fromUtf8("y\xc3\xa9");
        QTest::newRow("3-byte CR LF") << QByteArray("\xe2\x82\xac\xe2\x82\xac\r\n\xe2\x82\xac" "a") << 3 << 1 << 6
                                      << QString::fromUtf8("\xe2\x82\xac\xe2\x82\xac\r\n");
        QTest::newRow("3-byte next line") << QByteArray("\xe2\x82\xac\xe2\x82\xac\r\n\xe2\x82\xac" "a") << 11 << 5 << 6
                                          << QString::fromUtf8("\xe2\x82\xac" "a");
        QTest::newRow("4-byte astral") << QByteArray("a\xf0\x9d\x84\x9e" "b\n\xf0\x9d\x84\x9e") << 5 << 3 << 7
                                       << QString::fromUtf8("a\xf0\x9d\x84\x9e" "b\n");
        QTest::newRow("end after CR LF") << QByteArray("ab\r\n") << 4 << 4 << 4 << QString();
    }
    void accessibleOffsets()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, pos);
        QFETCH(int, offset);
        QFETCH(int, count);
        QFETCH(QString, line);
        CodeEdit edit;
        auto *sci = static_cast<QsciScintillaBase *>(edit.editorWidget());
        QAccessibleTextInterface *t = QAccessible::queryAccessibleInterface(sci)->textInterface();
        QVERIFY(t && t->characterCount() == 0); // in use before the file is loaded into a new document
        QTemporaryDir dir;
        writeFile(dir.filePath("a.html"), text);
        QVERIFY(edit.LoadFile(dir.filePath("a.html")));
        QCOMPARE(t->characterCount(), count);
        QCOMPARE(t->text(0, count), QString::fromUtf8(text));
        sci->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, pos);
        QCOMPARE(t->cursorPosition(), offset);
        t->setCursorPosition(0);
        t->setCursorPosition(offset);
        QCOMPARE(sci->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS), long(pos));
        int start = -1, end = -1;
        QCOMPARE(t->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), line);
        QCOMPARE(end - start, int(line.size()));
        if (text.startsWith("a\xf0")) { // inside the surrogate pair: the character's start
            t->setCursorPosition(2);
            QCOMPARE(sci->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS), 1L);
        }
    }

    void selectionChangedOnSelecting()
    {
        CodeEdit edit;
        edit.setText("#FF8000");
        QCoreApplication::processEvents();
        QSignalSpy spy(&edit, &CodeEdit::SelectionChanged);
        edit.ExecuteCommand(EditorCommand::SelectAll);
        QCoreApplication::processEvents();
        QVERIFY(spy.count() >= 1);
    }

    void closingAShownWindowWithTheEditor()
    {
        auto *window = new QMainWindow;
        auto *edit = new CodeEdit(window);
        window->setCentralWidget(edit);
        edit->setText("text");
        edit->ExecuteCommand(EditorCommand::FindDialog); // with its dialog open too
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        edit->setFocus();
        window->close();
        delete window;
    }

    // The horizontal scroll bar is there only while a line wider than the view has been shown, and
    // a newly loaded document starts without the previous one's.
    void horizontalScrollBarFollowsTheWidestLine()
    {
        QTemporaryDir dir;
        const QString wide = dir.filePath("wide.html"), narrow = dir.filePath("narrow.html");
        writeFile(wide, "<p>" + QByteArray(3000, 'x') + "</p>\n");
        writeFile(narrow, "<p>x</p>\n");
        QMainWindow window;
        auto *edit = new CodeEdit(&window);
        window.setCentralWidget(edit);
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *bar = qobject_cast<QAbstractScrollArea *>(edit->editorWidget())->horizontalScrollBar();
        QTRY_VERIFY(!bar->isVisible());
        QVERIFY(edit->LoadFile(wide));
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(edit->LoadFile(narrow));
        QTRY_VERIFY(!bar->isVisible());
    }

    void windowShortcutsWinOverTheEditor_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("ctrl+s") << int(Qt::Key_S) << int(Qt::ControlModifier);
        QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier);
        QTest::newRow("ctrl+n") << int(Qt::Key_N) << int(Qt::ControlModifier);
        QTest::newRow("f5") << int(Qt::Key_F5) << 0;
        QTest::newRow("f6") << int(Qt::Key_F6) << 0;
    }
    void windowShortcutsWinOverTheEditor()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QMainWindow window;
        auto *edit = new CodeEdit(&window);
        window.setCentralWidget(edit);
        auto *action = new QAction("command", &window);
        action->setShortcut(QKeySequence(key | modifiers));
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
        QSignalSpy triggered(action, &QAction::triggered);
        edit->setText("selected");
        edit->ExecuteCommand(EditorCommand::SelectAll);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTest::keyClick(edit->editorWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(edit->Text(), QByteArray("selected"));
    }
};

KESTRIN_REGISTER_TEST(TestCodeEditText);
KESTRIN_REGISTER_TEST(TestCodeEditFind);
KESTRIN_REGISTER_TEST(TestCodeEditKeys);

#include "tst_codeedit.moc"
