#include "TestRegistry.h"
#include "ScriptedPrompter.h"

#include "editor/component/CodeEdit.h"
#include "editor/frmEdit.h"

#include <QAccessible>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace kestrin;
using kestrin::test::ScriptedPrompter;

namespace {

QsciScintilla *sci(const frmEdit &w) { return qobject_cast<QsciScintilla *>(w.RC->editorWidget()); }

} // namespace

class ToolbarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttonsHaveNamesAndNoCaptions()
    {
        frmEdit w;
        QCOMPARE(w.toolbarActions.size(), 20);
        const QStringList expected{"New", "Open", "Save", "-", "Undo", "Redo", "-", "Bold", "Italic", "Underline", "-",
                                   "Font face", "Font color", "Color code", "-", "Align left", "Center",
                                   "Align right", "-", "Line break"};
        for (int i = 0; i < 20; ++i) {
            QAction *a = w.toolbarActions[i];
            if (expected[i] == QLatin1String("-")) {
                QVERIFY2(a->isSeparator(), qPrintable(QString::number(i + 1)));
                continue;
            }
            QVERIFY(a->text().isEmpty());
            QVERIFY2(!a->icon().isNull(), qPrintable(expected[i]));
            auto *button = qobject_cast<QToolButton *>(w.Toolbar1->widgetForAction(a));
            QVERIFY(button);
            QCOMPARE(button->accessibleName(), expected[i]);
            QCOMPARE(button->toolTip(), expected[i]);
        }
        QCOMPARE(w.PC->toolTip(), QStringLiteral("Current color"));
    }

    void wrapButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("selected");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Bold, no selection") << 8 << QByteArray() << QByteArray("a<b></b>z");
        QTest::newRow("Bold") << 8 << QByteArray("mid") << QByteArray("a<b>mid</b>z");
        QTest::newRow("Italic") << 9 << QByteArray("mid") << QByteArray("a<i>mid</i>z");
        QTest::newRow("Underline") << 10 << QByteArray("mid") << QByteArray("a<u>mid</u>z");
        QTest::newRow("Align left") << 16 << QByteArray("mid") << QByteArray("a<p align='left'>mid</p>z");
        QTest::newRow("Center") << 17 << QByteArray("mid") << QByteArray("a<center>mid</center>z");
        QTest::newRow("Align right") << 18 << QByteArray("mid") << QByteArray("a<p align='right'>mid</p>z");
        QTest::newRow("Line break replaces") << 20 << QByteArray("mid") << QByteArray("a<br>z");
        QTest::newRow("Bold over lines") << 8 << QByteArray("1\n2\n3") << QByteArray("a<b>1\n2\n3</b>z");
    }
    void wrapButtons()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, selected);
        QFETCH(QByteArray, expected);
        frmEdit w;
        w.RC->setText("a" + selected + "z");
        sci(w)->SendScintilla(QsciScintillaBase::SCI_SETSEL, 1, 1 + selected.size());
        w.DocumentModified = false;
        w.Toolbar1_ButtonClick(index);
        QCOMPARE(w.RC->Text(), expected);
        QVERIFY(w.DocumentModified);
    }

    void colourButtonsWithPureRed()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.RC->setText("word");
        w.RC->ExecuteCommand(EditorCommand::SelectAll);
        prompter.answerColor(QColor(255, 0, 0));
        w.Toolbar1_ButtonClick(13);
        QCOMPARE(w.RC->Text(), QByteArray("<font color='#FF0000'>word</font>"));
        w.RC->setText("word");
        w.RC->ExecuteCommand(EditorCommand::SelectAll);
        prompter.answerColor(QColor(255, 0, 0));
        w.Toolbar1_ButtonClick(14);
        QCOMPARE(w.RC->Text(), QByteArray("FF0000"));
        QCOMPARE(w.Co.Color, quint32(255));
    }

    void fontButtonUsesTheFamilyOnly()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.RC->setText("t");
        w.RC->ExecuteCommand(EditorCommand::SelectAll);
        QFont font(QStringLiteral("Liberation Serif"), 20);
        font.setBold(true);
        prompter.answerFont(font);
        w.Toolbar1_ButtonClick(12);
        QCOMPARE(w.RC->Text(), QByteArray("<font face='") + font.family().toUtf8() + "'>t</font>");
        QCOMPARE(w.Co.Flags, 3);
        QVERIFY(w.Co.CancelError);
    }

    void cancelledDialogsChangeNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("Font face") << 12;
        QTest::newRow("Font color") << 13;
        QTest::newRow("Color code") << 14;
    }
    void cancelledDialogsChangeNothing()
    {
        QFETCH(int, index);
        ScriptedPrompter prompter;
        frmEdit w;
        w.RC->setText("keep");
        sci(w)->SendScintilla(QsciScintillaBase::SCI_SETSEL, 1, 3);
        w.DocumentModified = false;
        if (index == 12)
            prompter.answerFont(std::nullopt);
        else
            prompter.answerColor(std::nullopt);
        w.Toolbar1_ButtonClick(index);
        QCOMPARE(w.RC->Text(), QByteArray("keep"));
        QCOMPARE(w.RC->SelectedText(), QByteArray("ee"));
        QVERIFY(!w.DocumentModified);
        QVERIFY(prompter.allAnswersUsed());
    }

    void undoRedoButtons()
    {
        frmEdit w;
        w.Toolbar1_ButtonClick(5); // nothing to undo
        QVERIFY(!w.DocumentModified);
        w.RC->setSelectedText("x");
        w.DocumentModified = false;
        w.Toolbar1_ButtonClick(5);
        QVERIFY(w.RC->Text().isEmpty());
        QVERIFY(w.DocumentModified);
        w.DocumentModified = false;
        w.Toolbar1_ButtonClick(6);
        QCOMPARE(w.RC->Text(), QByteArray("x"));
        QVERIFY(w.DocumentModified);
    }

    void everyClickEndsWithTheCaretVisible_data()
    {
        QTest::addColumn<int>("index");
        for (int i : {4, 7, 11, 15, 19, 5, 6})
            QTest::newRow(qPrintable(QStringLiteral("button %1").arg(i))) << i;
    }
    void everyClickEndsWithTheCaretVisible()
    {
        QFETCH(int, index);
        frmEdit w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QByteArray text;
        for (int i = 0; i < 500; ++i)
            text += "line\n";
        w.RC->setText(text);
        sci(w)->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0);
        sci(w)->SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 300);
        w.Toolbar1_ButtonClick(index);
        QCOMPARE(sci(w)->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE), 0L);
    }

    void fileButtonsRunTheMenuCommands()
    {
        ScriptedPrompter prompter;
        frmEdit w;
        w.RC->setSelectedText("x");
        prompter.answerFile(std::nullopt);
        w.Toolbar1_ButtonClick(3); // Save on an untitled document asks for a name
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].file.save);
    }
};

KESTRIN_REGISTER_TEST(ToolbarTest);
#include "tst_frmedit_toolbar.moc"
