#include "TestRegistry.h"
#include "ScriptedPrompter.h"

#include "editor/component/CodeEdit.h"
#include "editor/frmEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QToolBar>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace kestrin;
using kestrin::test::ScriptedPrompter;

namespace {

// What the swatch paints, at its centre.
QColor swatch(const frmEdit &w) { return w.PC->grab().toImage().pixelColor(w.PC->rect().center()); }

void selectAllText(frmEdit &w) { w.RC->ExecuteCommand(EditorCommand::SelectAll); }

} // namespace

class EditCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuBarCaptionsAndShortcuts()
    {
        frmEdit w;
        const QList<QAction *> top = w.menuBar()->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), QStringLiteral("&File"));
        QCOMPARE(top[1]->text(), QStringLiteral("Edit"));
        QCOMPARE(top[2]->text(), QStringLiteral("About"));
        QVERIFY(!top[2]->menu());
        QStringList captions;
        QStringList shortcuts;
        for (QAction *a : top[1]->menu()->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
            shortcuts << a->shortcut().toString();
        }
        QCOMPARE(captions, (QStringList{"Undo", "Redo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All", "-",
                                        "Find", "Find next", "Replace", "Goto line"}));
        QCOMPARE(shortcuts, (QStringList{"", "", "", "", "", "", "", "", "", "", "F5", "F6", "", ""}));
        QStringList fileCaptions;
        for (QAction *a : top[0]->menu()->actions())
            fileCaptions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(fileCaptions, (QStringList{"New", "Open", "Save", "Save As...", "Save as txt...", "-", "Exit"}));
    }

    void gotoLineConversion_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("line"); // -1: no move
        QTest::newRow("12.5") << "12.5" << 12;
        QTest::newRow("13.5") << "13.5" << 14;
        QTest::newRow(" 7 ") << " 7 " << 7;
        QTest::newRow("3.4") << "3.4" << 3;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("word") << "ten" << -1;
        QTest::newRow("2147483648") << "2147483648" << -1;
        QTest::newRow("-2147483648") << "-2147483648" << int(std::numeric_limits<qint32>::min());
        QTest::newRow("1e400") << "1e400" << -1;
    }
    void gotoLineConversion()
    {
        QFETCH(QString, answer);
        QFETCH(int, line);
        const auto parsed = parseLineNumber(answer);
        QCOMPARE(bool(parsed), line != -1 || answer == QLatin1String("-1"));
        if (parsed)
            QCOMPARE(*parsed, line);
    }

    void gotoLineMovesAndReturnsFocus_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<int>("expectedLine"); // 0-based line of the caret afterwards
        QTest::newRow("12.5") << std::optional<QString>(QStringLiteral("12.5")) << 11;
        QTest::newRow("13.5") << std::optional<QString>(QStringLiteral("13.5")) << 13;
        QTest::newRow("word") << std::optional<QString>(QStringLiteral("word")) << 0;
        QTest::newRow("Cancel") << std::optional<QString>() << 0;
    }
    void gotoLineMovesAndReturnsFocus()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(int, expectedLine);
        ScriptedPrompter prompter;
        frmEdit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QByteArray text;
        for (int i = 1; i <= 30; ++i)
            text += "line " + QByteArray::number(i) + "\n";
        w.RC->setText(text);
        w.RC->GoToLine(1);
        w.Toolbar1->setFocus();
        prompter.answerInput(answer);
        w.mnuGotoline_Click();
        QCOMPARE(prompter.asked[0].text, QStringLiteral("Line:"));
        QCOMPARE(prompter.asked[0].title, QStringLiteral("kestrin4"));
        auto *sci = qobject_cast<QsciScintilla *>(w.RC->editorWidget());
        int line = -1, index = -1;
        sci->getCursorPosition(&line, &index);
        QCOMPARE(line, expectedLine);
        QVERIFY(w.RC->editorWidget()->hasFocus());
    }

    void keyDownCopiesAndPastesOnce_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QByteArray>("expectedText");
        QTest::addColumn<QString>("expectedClipboard");
        // The document holds "abc" with "b" selected; the clipboard holds "Z".
        QTest::newRow("Ctrl+C") << 67 << 2 << QByteArray("abc") << "b";
        QTest::newRow("Ctrl+Insert") << 45 << 2 << QByteArray("abc") << "b";
        QTest::newRow("Ctrl+V") << 86 << 2 << QByteArray("aZc") << "Z";
        QTest::newRow("Ctrl+Shift+C") << 67 << 3 << QByteArray("abc") << "Z";
        QTest::newRow("Ctrl+Shift+V") << 86 << 3 << QByteArray("abc") << "Z";
        QTest::newRow("Alt+V") << 86 << 4 << QByteArray("abc") << "Z";
    }
    void keyDownCopiesAndPastesOnce()
    {
        QFETCH(int, key);
        QFETCH(int, shift);
        QFETCH(QByteArray, expectedText);
        QFETCH(QString, expectedClipboard);
        frmEdit w;
        w.RC->setText("abc");
        auto *sci = qobject_cast<QsciScintilla *>(w.RC->editorWidget());
        sci->setSelection(0, 1, 0, 2);
        QApplication::clipboard()->setText(QStringLiteral("Z"));
        QVERIFY(!w.RC_KeyDown(key, shift));
        QCOMPARE(w.RC->Text(), expectedText);
        QCOMPARE(QApplication::clipboard()->text(), expectedClipboard);
    }

    void realCtrlVPastesExactlyOnce()
    {
        frmEdit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.RC->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("P"));
        QTest::keyClick(w.RC->editorWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.RC->Text(), QByteArray("P"));
        QVERIFY(w.DocumentModified);
        QTest::keyClick(w.RC->editorWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w.RC->editorWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("P"));
    }

    void typingMarksModified()
    {
        frmEdit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.RC->setFocus();
        QVERIFY(!w.DocumentModified);
        QTest::keyClick(w.RC->editorWidget(), Qt::Key_Right);
        QVERIFY(!w.DocumentModified);
        QTest::keyClicks(w.RC->editorWidget(), QStringLiteral("hi"));
        QVERIFY(w.DocumentModified);
        QCOMPARE(w.RC->Text(), QByteArray("hi"));
    }

    void swatchFollowsTheSelection_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("#FF8000") << QByteArray("#FF8000") << QColor(255, 128, 0);
        QTest::newRow("FF8000") << QByteArray("FF8000") << QColor(255, 128, 0);
        QTest::newRow("#F00") << QByteArray("#F00") << QColor(240, 0, 0);
        QTest::newRow("red") << QByteArray("red") << QColor(13, 0, 0);
        QTest::newRow("#0000ff;") << QByteArray("#0000ff;") << QColor(0, 0, 255);
    }
    void swatchFollowsTheSelection()
    {
        QFETCH(QByteArray, text);
        QFETCH(QColor, colour);
        frmEdit w;
        QCOMPARE(swatch(w), QColor(Qt::black)); // at start
        w.RC->setText("x " + text + " y");
        auto *sci = qobject_cast<QsciScintilla *>(w.RC->editorWidget());
        sci->setSelection(0, 2, 0, 2 + int(text.size()));
        QCOMPARE(swatch(w), colour);
        sci->setSelection(0, 0, 0, 0); // an empty selection paints black
        QCOMPARE(swatch(w), QColor(Qt::black));
    }

    void menuEditsMarkModifiedOnlyWhenTheyChangeText()
    {
        frmEdit w;
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        w.mnuUndo_Click(); // nothing to undo
        QVERIFY(!w.DocumentModified);
        w.mnuCut_Click(); // nothing selected
        QVERIFY(!w.DocumentModified);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        w.mnuPaste_Click();
        QCOMPARE(w.RC->Text(), QByteArray("pasted"));
        QVERIFY(w.DocumentModified); // a paste closing the window would otherwise be lost
        w.DocumentModified = false;
        w.mnuUndo_Click();
        QVERIFY(w.RC->Text().isEmpty());
        QVERIFY(w.DocumentModified);
    }

    void cutCopyDelete()
    {
        frmEdit w;
        w.RC->setText("one two");
        auto *sci = qobject_cast<QsciScintilla *>(w.RC->editorWidget());
        sci->setSelection(0, 0, 0, 3);
        w.mnuCopy_Click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("one"));
        w.mnuCut_Click();
        QCOMPARE(w.RC->Text(), QByteArray(" two"));
        sci->setSelection(0, 0, 0, 1);
        w.mnuDelete_Click();
        QCOMPARE(w.RC->Text(), QByteArray("two"));
        w.mnuSelectAll_Click();
        QCOMPARE(w.RC->SelectedText(), QByteArray("two"));
    }

    void pasteTakesTheDocumentsLineEnds()
    {
        frmEdit w;
        w.RC->setText("a");
        QApplication::clipboard()->setText(QStringLiteral("1\r\n2\r3\n"));
        w.mnuPaste_Click();
        QCOMPARE(w.RC->Text(), w.RC->lineBreak() == "\n" ? QByteArray("1\n2\n3\na") : QByteArray("1\r\n2\r\n3\r\na"));
    }

    void aboutBox()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.mnuAbout_Click();
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(prompter.asked[0].icon, Prompter::Icon::Information);
        QCOMPARE(prompter.asked[0].title, QStringLiteral("kestrin4"));
        const QStringList lines = prompter.asked[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("Marvolis KESTRIN Vozod 4"));
        QCOMPARE(lines[1], QStringLiteral("Ver 4.0.41"));
        QVERIFY(!lines[2].isEmpty());
    }
};

KESTRIN_REGISTER_TEST(EditCommandsTest);
#include "tst_frmedit_edit.moc"
