#include "FileBytes.h"
#include "TestRegistry.h"

#include "document/AtomicFile.h"
#include "editor/component/BraceMatch.h"
#include "editor/component/CodeEdit.h"
#include "editor/component/FindReplaceDialog.h"
#include "editor/component/HtmlLexer.h"

#include <SciLexer.h>
#include <ScintillaEditBase.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrin;
using kestrin::test::readBytes;
using kestrin::test::writeBytes;


namespace {

long send(const CodeEdit &e, unsigned int msg, unsigned long w = 0, long l = 0) { return static_cast<ScintillaEditBase *>(e.editorWidget())->send(msg, w, l); }
void select(const CodeEdit &e, long anchor, long caret) { send(e, SCI_SETSEL, anchor, caret); }
long selectionStart(const CodeEdit &e) { return send(e, SCI_GETSELECTIONSTART); }

QAbstractButton *button(FindReplaceDialog *dlg, const char *name)
{
    for (auto *b : dlg->findChildren<QAbstractButton *>())
        if (b->accessibleName() == QLatin1String(name))
            return b;
    return nullptr;
}

struct ReplaceRow { QByteArray text; QString what, options /* c: case, w: whole word, r: regex */, with; QByteArray after; QString status; };
struct AccessibleRow { QByteArray text; int pos, offset, count; QString line; }; // offsets in UTF-16 units
struct BraceRow { QByteArray text, styles; long from /* the text's first position */, brace, endStyled, expected; };
struct InputMethodRow { QByteArray text; int anchor, caret; QString surrounding /* "*": a part of a long line */; int cursorAt, anchorAt; };

} // namespace

class TestCodeEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A loaded file is no change and no undo step (the previous document's steps are gone), and
    // Enter then writes the file's own line end.
    void loadThenEnter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        for (auto [name, end] : {std::pair<const char *, QByteArray>{"crlf", "\r\n"}, {"cr", "\r"}, {"lf", "\n"}})
            QTest::newRow(name) << "ab" + end << "a" + end + "b" + end;
    }
    void loadThenEnter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("a.php"), bytes));
        CodeEdit edit;
        edit.setText("the previous document");
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        QVERIFY(edit.LoadFile(dir.filePath("a.php")));
        QCoreApplication::processEvents();
        QCOMPARE(changed.count(), 0);
        QVERIFY(!edit.CanUndo());
        QCOMPARE(edit.Text(), bytes);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Return);
        QCOMPARE(edit.Text(), expected);
        QVERIFY(writeBytes(dir.filePath("b.php"), QByteArray(300'000, 'a') + QByteArray(1, '\0'))); // NUL after the first piece
        QVERIFY(!edit.LoadFile(dir.filePath("b.php")));
        QCOMPARE(edit.Text(), expected);
    }

    // setText and setSelectedText are one undo step and one change each; writing back the text
    // that is selected is neither; NUL bytes are text like any other.
    void editsAndUndoSteps()
    {
        CodeEdit edit;
        edit.setText("first");
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        edit.setText(QByteArray("a\0b", 3));
        select(edit, 1, 2);
        edit.setSelectedText(QByteArray(1, '\0'));
        edit.setSelectedText("<b>\r\n</b>");
        QCOMPARE(changed.count(), 2);
        QCOMPARE(edit.Text(), QByteArray("a<b>\r\n</b>b"));
        send(edit, SCI_DOCUMENTSTART);
        QSignalSpy selected(&edit, &CodeEdit::SelectionChanged);
        edit.ExecuteCommand(EditorCommand::SelectAll); // the caret stays at the start: still a change
        QCOMPARE(selected.count(), 1);
        send(edit, SCI_GOTOPOS, 3), QTest::keyClick(edit.editorWidget(), Qt::Key_Backspace); // the user's own edits are reported too
        QCOMPARE(changed.count(), 3);
        for (int i = 0; i < 3; ++i) edit.Undo();
        QCOMPARE(edit.Text(), QByteArray("first"));
        edit.Redo();
        QCOMPARE(edit.Text(), QByteArray("a\0b", 3));
    }

    // The first find goes through the dialog; Find next repeats it without the dialog from the
    // end of the selection and wraps; backwards goes the other way; not found leaves the selection.
    // Its controls all have names.
    void findNext()
    {
        CodeEdit edit;
        edit.setText("x1 x2 x3");
        edit.ExecuteCommand(EditorCommand::FindDialog);
        auto *dlg = edit.findChild<FindReplaceDialog *>();
        QVERIFY(dlg && dlg->isVisible() && !dlg->isReplaceMode());
        dlg->findEdit()->setText("x");
        dlg->findNext();
        dlg->close();
        QList<long> found{selectionStart(edit)};
        for (int i = 0; i < 3; ++i) {
            edit.ExecuteCommand(EditorCommand::FindNext);
            found << selectionStart(edit);
        }
        QCOMPARE(found, (QList<long>{0, 3, 6, 0}));
        QVERIFY(!dlg->isVisible());
        edit.ExecuteCommand(EditorCommand::FindDialog);
        button(dlg, "Search backwards")->setChecked(true);
        dlg->findNext();
        QCOMPARE(selectionStart(edit), 6L);
        dlg->findEdit()->setText("zzz");
        dlg->findNext();
        QCOMPARE(dlg->statusText(), QStringLiteral("Cannot find \"zzz\"."));
        QCOMPARE(selectionStart(edit), 6L);
        QCOMPARE(edit.SelectedText(), QByteArray("x"));
        for (QWidget *w : dlg->findChildren<QWidget *>())
            if (w->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
        // Replace writes over the selected match, then finds the next one.
        edit.ExecuteCommand(EditorCommand::ReplaceDialog);
        button(dlg, "Search backwards")->setChecked(false);
        dlg->findEdit()->setText("x");
        dlg->replaceEdit()->setText("yy");
        select(edit, 8, 8);
        dlg->replaceOne(); // nothing selected: only finds
        QCOMPARE(edit.Text(), QByteArray("x1 x2 x3"));
        dlg->replaceOne();
        QCOMPARE(edit.Text(), QByteArray("yy1 x2 x3"));
        QCOMPARE(selectionStart(edit), 4L);
    }

    void replaceAll_data()
    {
        QTest::addColumn<ReplaceRow>("row");
        QTest::newRow("any case") << ReplaceRow{"Cat cat CAT", "cat", "", "dog", "dog dog dog", "Replaced 3 occurrences."};
        QTest::newRow("match case") << ReplaceRow{"Cat cat CAT", "cat", "c", "dog", "Cat dog CAT", "Replaced 1 occurrence."};
        QTest::newRow("whole word") << ReplaceRow{"cat cats cat", "cat", "w", "x", "x cats x", "Replaced 2 occurrences."};
        QTest::newRow("regex group") << ReplaceRow{"<b>a</b> <b>bb</b>", "<b>([a-z]*)</b>", "r", "[\\1]", "[a] [bb]", "Replaced 2 occurrences."};
        QTest::newRow("empty matches at line starts") << ReplaceRow{"a\nb\n", "^", "r", "> ", "> a\n> b\n> ", "Replaced 3 occurrences."};
        QTest::newRow("replacement holds the text") << ReplaceRow{"aa", "a", "", "aa", "aaaa", "Replaced 2 occurrences."};
        QTest::newRow("regex groups hold whole characters") << ReplaceRow{"aé😀\nb", "(.)$", "r", "[\\1]\\t", "aé[😀]\t\n[b]\t", "Replaced 2 occurrences."};
        QTest::newRow("utf8") << ReplaceRow{"café café", "café", "c", "tea", "tea tea", "Replaced 2 occurrences."};
        QTest::newRow("caret kept inside a character") << ReplaceRow{"aé", "a", "", "aa", "aaé", "Replaced 1 occurrence."};
        QTest::newRow("no match") << ReplaceRow{"abc", "q", "", "z", "abc", "Cannot find \"q\"."};
    }
    void replaceAll()
    {
        QFETCH(ReplaceRow, row);
        CodeEdit edit;
        edit.setText(row.text);
        send(edit, SCI_DOCUMENTEND);
        edit.ExecuteCommand(EditorCommand::ReplaceDialog);
        auto *dlg = edit.findChild<FindReplaceDialog *>();
        QVERIFY(dlg->isReplaceMode());
        dlg->findEdit()->setText(row.what);
        dlg->replaceEdit()->setText(row.with);
        button(dlg, "Match case")->setChecked(row.options.contains('c'));
        button(dlg, "Match whole word only")->setChecked(row.options.contains('w'));
        button(dlg, "Regular expression")->setChecked(row.options.contains('r'));
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        button(dlg, "Replace All")->click();
        QCOMPARE(edit.Text(), row.after);
        QCOMPARE(dlg->statusText(), row.status);
        QCOMPARE(changed.count(), row.text == row.after ? 0 : 1);
        // The caret stays where it was, on a character boundary: text typed there stays UTF-8.
        const long caret = send(edit, SCI_GETCURRENTPOS);
        QVERIFY(caret >= row.after.size() || (uchar(row.after.at(caret)) & 0xC0) != 0x80);
        edit.Undo(); // one step undoes every replacement
        QCOMPARE(edit.Text(), row.text == row.after ? QByteArray() : row.text);
    }

    void accessibleOffsets_data()
    {
        QTest::addColumn<AccessibleRow>("row");
        const char *euros = "€€\r\n€a";
        QTest::newRow("2-byte") << AccessibleRow{"xé\nyé", 5, 4, 5, "yé"};
        QTest::newRow("3-byte CR LF") << AccessibleRow{euros, 3, 1, 6, "€€\r\n"};
        QTest::newRow("3-byte next line") << AccessibleRow{euros, 11, 5, 6, "€a"};
        QTest::newRow("4-byte astral") << AccessibleRow{"a𝄞b\n𝄞", 5, 3, 7, "a𝄞b\n"};
        QTest::newRow("end after CR LF") << AccessibleRow{"ab\r\n", 4, 4, 4, ""};
    }
    void accessibleOffsets()
    {
        QFETCH(AccessibleRow, row);
        CodeEdit edit;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(edit.editorWidget());
        QCOMPARE(a->role(), QAccessible::EditableText);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Document text"));
        QAccessibleTextInterface *t = a->textInterface();
        QVERIFY(t && t->characterCount() == 0); // in use before the file is loaded into a new document
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("a.html"), row.text));
        QVERIFY(edit.LoadFile(dir.filePath("a.html")));
        QCOMPARE(t->characterCount(), row.count);
        QCOMPARE(t->text(0, row.count), QString::fromUtf8(row.text));
        send(edit, SCI_GOTOPOS, row.pos);
        QCOMPARE(t->cursorPosition(), row.offset);
        t->setCursorPosition(0);
        t->setCursorPosition(row.offset);
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), long(row.pos));
        int start = -1, end = -1;
        QCOMPARE(t->textAtOffset(row.offset, QAccessible::LineBoundary, &start, &end), row.line);
        QCOMPARE(end - start, int(row.line.size()));
        if (row.text.startsWith("a\xf0")) { // inside the surrogate pair: the character's start
            t->setCursorPosition(2);
            QCOMPARE(send(edit, SCI_GETCURRENTPOS), 1L);
        }
    }

    // The horizontal scroll bar is there only while a line wider than the view has been shown, and
    // a newly loaded document starts without the previous one's. Closing the window then, with the
    // find dialog open and the focus in the editor, must not crash.
    void horizontalScrollBarFollowsTheWidestLine()
    {
        QTemporaryDir dir;
        const QString wide = dir.filePath("wide.html"), narrow = dir.filePath("narrow.html");
        QVERIFY(writeBytes(wide, "<p>" + QByteArray(3000, 'x') + "</p>\n"));
        QVERIFY(writeBytes(narrow, "<p>x</p>\n"));
        auto *window = new QMainWindow;
        auto *edit = new CodeEdit(window);
        window->setCentralWidget(edit);
        window->resize(400, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *bar = qobject_cast<QAbstractScrollArea *>(edit->editorWidget())->horizontalScrollBar();
        QTRY_VERIFY(!bar->isVisible());
        QVERIFY(edit->LoadFile(wide));
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(edit->LoadFile(narrow));
        QTRY_VERIFY(!bar->isVisible());
        edit->ExecuteCommand(EditorCommand::FindDialog);
        edit->setFocus();
        window->close();
        delete window;
    }

    // Text that once stopped the HTML lexer: what follows it is still coloured, as painted.
    void colouredAfterOddMarkup_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("html"); // HTML after it: its tags are tags
        for (const char *odd : {"Q&A<!-- -->", "&<!", "x&<!DOCTYPE html>"})
            QTest::newRow(odd) << QByteArray(odd) << true;
        // The lexer takes "<%<%%>" for an ASP script that never ends: what follows is coloured as
        // script, its "<!--" a comment.
        QTest::newRow("<%<%%><!") << QByteArray("<%<%%><!") << false;
    }
    void colouredAfterOddMarkup()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, html);
        QMainWindow window;
        auto *edit = new CodeEdit(&window);
        edit->setLanguage("PHP");
        const quint32 comment = 0x00A000, tag = 0x0000E0; // BGR: green, red
        edit->SetItemColor(StyleItem::Comments, comment);
        edit->SetItemColor(StyleItem::TagColour, tag);
        window.setCentralWidget(edit);
        window.resize(600, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setText(text + "\n<!-- mmmmmmmm -->\n<b>mmmmmmmm</b>\n");
        const QByteArray all = edit->Text();
        auto colourAt = [&](const char *what, quint32 bgr) {
            const long pos = long(all.indexOf(what)), x = send(*edit, SCI_POINTXFROMPOSITION, 0, pos);
            const long y = send(*edit, SCI_POINTYFROMPOSITION, 0, pos), h = send(*edit, SCI_TEXTHEIGHT, 0);
            const long w = send(*edit, SCI_POINTXFROMPOSITION, 0, pos + long(qstrlen(what))) - x;
            const QImage shot = edit->editorWidget()->grab().toImage();
            int hits = 0; // pixels within a small distance of the colour (glyph edges are blended)
            for (long py = y; py < y + h; ++py)
                for (long px = x; px < x + w; ++px) {
                    const QRgb c = shot.pixel(int(px), int(py));
                    hits += qAbs(qRed(c) - int(bgr & 0xFF)) + qAbs(qGreen(c) - int((bgr >> 8) & 0xFF)) + qAbs(qBlue(c) - int(bgr >> 16)) < 60;
                }
            return hits;
        };
        QTRY_VERIFY(colourAt("!-- mmmmmmmm --", comment) > 20);
        QCOMPARE(colourAt("b>mmmmmmmm</b", tag) > 20, html);
    }

    // Only the start of a very long line is coloured; the lines after it are coloured again, and
    // the cut never falls inside a character.
    void longLineColouredAtItsStart()
    {
        CodeEdit edit;
        edit.setLanguage("PHP");
        // An "é" in an attribute value across the cut.
        const QByteArray unit = "<b>x</b>";
        const QByteArray longLine = unit.repeated(kColouredLineBytes / 8 - 1) + "<b t=\"x\xC3\xA9\">y</b>" + unit.repeated(100);
        QTemporaryDir dir; // opened from a file, as a user's page is
        QVERIFY(writeBytes(dir.filePath("long.php"), longLine + "\n<i>y</i>\n") && edit.document()->load(dir.filePath("long.php")));
        send(edit, SCI_COLOURISE, 0, -1);
        auto styleAt = [&](long pos) { return send(edit, SCI_GETSTYLEAT, pos); };
        QCOMPARE(styleAt(1), long(SCE_H_TAG));
        const long cut = kColouredLineBytes;
        QCOMPARE(styleAt(cut - 2), long(SCE_H_DOUBLESTRING));
        QCOMPARE(styleAt(cut - 1), styleAt(cut));
        QCOMPARE(styleAt(cut + 9), 0L);
        QCOMPARE(styleAt(longLine.size() - 2), 0L);
        QCOMPARE(styleAt(longLine.size() + 2), long(SCE_H_TAG));
        // Typed beyond the cut: still the default style, and the next line still a tag.
        edit.GoToLine(1);
        send(edit, SCI_GOTOPOS, longLine.size() - 4);
        QTest::keyClicks(edit.editorWidget(), "<b>");
        send(edit, SCI_COLOURISE, 0, -1);
        QCOMPARE(styleAt(longLine.size() - 3), 0L);
        QCOMPARE(styleAt(longLine.size() + 5), long(SCE_H_TAG));
    }

    // What keeps the component fast on large documents: answers that stay within the caret's line
    // or a bounded window, and work done block by block; each must still give the right result.
    void matchBrace_data()
    {
        QTest::addColumn<BraceRow>("row");
        QTest::newRow("(a) forward") << BraceRow{"(a)", "000", 0, 0, 3, 2};
        QTest::newRow("(a) backward") << BraceRow{"(a)", "000", 0, 2, 3, 0};
        QTest::newRow("{[()]} nested") << BraceRow{"{[()]}", "000000", 0, 0, 6, 5};
        QTest::newRow("((x) inner first") << BraceRow{"((x)", "0000", 0, 0, 4, -1};
        QTest::newRow("<a> tag") << BraceRow{"<a>", "111", 0, 0, 3, 2};
        QTest::newRow("(\")\") string brace skipped") << BraceRow{"(\")\")", "01110", 0, 0, 5, 4};
        QTest::newRow("(\")\" unstyled counts") << BraceRow{"(\")\"", "0111", 0, 0, 1, 2};
        QTest::newRow("x not a brace") << BraceRow{"x)", "00", 0, 0, 2, -1};
        QTest::newRow("x(y) at 100") << BraceRow{"x(y)", "0000", 100, 101, 1000, 103};
        QTest::newRow("brace before the window") << BraceRow{"x(y)", "0000", 100, 50, 1000, -1};
    }
    void matchBrace()
    {
        QFETCH(BraceRow, row);
        QByteArray cells; // character and style pairs, as Scintilla's styled-text copy gives them
        for (qsizetype i = 0; i < row.text.size(); ++i)
            cells.append(row.text.at(i)).append(row.styles.at(i));
        QCOMPARE(kestrin::matchBrace(cells.constData(), row.from, row.from + row.text.size(), row.brace, row.endStyled), row.expected);
    }

    // A rewrite block by block gives exactly what one pass over the whole text gives, whatever
    // the block length: no character is cut between two blocks (a cut one would come back as
    // U+FFFD). One undo step, and the caret stays where it was. A history of megabytes (kept in
    // blocks) undoes, redoes and takes a new edit after an undo.
    void rewriteTextBlockByBlock_data()
    {
        QTest::addColumn<int>("blockBytes");
        QTest::addColumn<int>("repeats");
        for (int n : {4, 5, 7, 1 << 20})
            QTest::addRow("%d bytes", n) << n << 40;
        QTest::addRow("3 MB in 1 MB blocks") << (1 << 20) << 100'000;
    }
    void rewriteTextBlockByBlock()
    {
        QFETCH(int, blockBytes);
        QFETCH(int, repeats);
        const QByteArray original = QByteArray("Café Ölé – 😀 naïve €\r\n").repeated(repeats);
        const auto upper = [](const QByteArray &block) { return QString::fromUtf8(block).toUpper().toUtf8(); };
        const QByteArray expected = upper(original);
        CodeEdit edit;
        edit.setText(original);
        edit.GoToLine(3, false);
        const long caret = send(edit, SCI_GETCURRENTPOS);
        QVERIFY(edit.rewriteText(upper, expected.size(), blockBytes));
        QCOMPARE(edit.Text(), expected);
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), caret);
        edit.Undo();
        QCOMPARE(edit.Text(), original);
        edit.Redo();
        QCOMPARE(edit.Text(), expected);
        edit.Undo();
        edit.setSelectedText("x");
        edit.Undo();
        QCOMPARE(edit.Text(), original);
        edit.Undo();
        QCOMPARE(edit.Text(), QByteArray());
        edit.Redo();
        edit.Redo();
        QVERIFY(edit.Text() != original && edit.Text().size() == original.size() + 1);
    }

    // Input methods get the caret's line (a window of it when long, cut on whole characters) and
    // the caret's and anchor's places in it, counted in characters.
    void inputMethodQueries_data()
    {
        QTest::addColumn<InputMethodRow>("row");
        QTest::newRow("middle line lf") << InputMethodRow{"one\ntwo\nthree\n", 5, 5, "two", 1, 1};
        QTest::newRow("crlf line end left out") << InputMethodRow{"a\r\nbc\r\n", 5, 5, "bc", 2, 2};
        QTest::newRow("counted in characters") << InputMethodRow{"x\ncafé au lait\n", 8, 8, "café au lait", 5, 5};
        QTest::newRow("empty document") << InputMethodRow{"", 0, 0, "", 0, 0};
        QTest::newRow("selection") << InputMethodRow{"abc déf", 4, 8, "abc déf", 7, 4};
        QTest::newRow("long line") << InputMethodRow{QByteArray("é").repeated(4000), 4000, 4000, "*", 0, 0};
    }
    void inputMethodQueries()
    {
        QFETCH(InputMethodRow, row);
        CodeEdit edit;
        edit.setText(row.text);
        select(edit, row.anchor, row.caret);
        const auto query = [&](Qt::InputMethodQuery q) { return edit.editorWidget()->inputMethodQuery(q); };
        const QString got = query(Qt::ImSurroundingText).toString();
        const int at = query(Qt::ImCursorPosition).toInt();
        if (row.surrounding == "*") { // no broken character at either edge, the caret inside
            QVERIFY(!got.isEmpty() && got.size() < 4000 && got == QString(got.size(), QChar(0xE9)));
            QVERIFY(at > 0 && at < got.size());
            return;
        }
        QCOMPARE(got, row.surrounding);
        QCOMPARE((QList<int>{at, query(Qt::ImAnchorPosition).toInt()}), (QList<int>{row.cursorAt, row.anchorAt}));
        QCOMPARE(query(Qt::ImCurrentSelection).toString(), QString::fromUtf8(edit.SelectedText()));
    }

    // Large saves take another path to the disk (memory file systems may refuse it); the same
    // bytes must land there, replacing a longer old file. Folder empty: the build folder's disk.
    void largeSaveIsByteIdentical_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<QString>("folder");
        QTest::newRow("8 MB exactly") << qsizetype(8 << 20) << QString();
        QTest::newRow("8 MB + 1") << qsizetype((8 << 20) + 1) << QString();
        QTest::newRow("9 MB + 3 on /dev/shm") << qsizetype((9 << 20) + 3) << QStringLiteral("/dev/shm");
    }
    void largeSaveIsByteIdentical()
    {
        QFETCH(qsizetype, size);
        QFETCH(QString, folder);
        if (!folder.isEmpty() && !QDir(folder).exists())
            QSKIP("no such folder on this machine");
        const QByteArray text = QByteArray("<p class=\"x\">café &amp; €</p>\r\n").repeated(size / 30 + 1).left(size);
        QTemporaryDir dir((folder.isEmpty() ? QDir::currentPath() : folder) + "/largesave-XXXXXX");
        QVERIFY(writeBytes(dir.filePath("big.htm"), QByteArray(size + 10000, 'o')));
        QString why;
        QVERIFY2(AtomicFile::write(dir.filePath("big.htm"), text, &why), qPrintable(why));
        QCOMPARE(readBytes(dir.filePath("big.htm")), text);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};
KESTRIN_REGISTER_TEST(TestCodeEdit);

#include "tst_codeedit.moc"
