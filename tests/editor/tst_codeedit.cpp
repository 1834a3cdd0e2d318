#include "EngineProbe.h"
#include "FileBytes.h"
#include "TestRegistry.h"

#include "document/AtomicFile.h"
#include "editor/component/BraceMatch.h"
#include "editor/component/CodeEdit.h"
#include "editor/component/FindReplaceDialog.h"

#include <SciLexer.h>
#include <ScintillaEditBase.h>

#include <QtTest>
#include <QtWidgets>

using namespace kestrin;
using kestrin::test::Random;
using kestrin::test::send;
using kestrin::test::readBytes;
using kestrin::test::writeBytes;


namespace {

void select(const CodeEdit &e, long anchor, long caret) { send(e, SCI_SETSEL, anchor, caret); }
long selectionStart(const CodeEdit &e) { return send(e, SCI_GETSELECTIONSTART); }

// The painted text's rectangle: the first occurrence of a text, or the caret's column at pos.
QRect cellsOf(const CodeEdit &e, const QByteArray &what, long pos = -1)
{
    if (pos < 0)
        pos = long(e.Text().indexOf(what));
    const long x = send(e, SCI_POINTXFROMPOSITION, 0, pos), y = send(e, SCI_POINTYFROMPOSITION, 0, pos);
    const long h = send(e, SCI_TEXTHEIGHT, 0);
    if (what.isEmpty()) // the caret, a few pixels wide
        return QRect(int(x - 1), int(y), 4, int(h));
    return QRect(int(x), int(y), int(send(e, SCI_POINTXFROMPOSITION, 0, pos + long(what.size())) - x), int(h));
}

quint32 bgrOf(const QColor &c) { return quint32(c.red() | c.green() << 8 | c.blue() << 16); }

// Pixels of that rectangle within a small distance of a colour (glyph edges are blended).
int pixelsNear(const CodeEdit &e, const QByteArray &what, quint32 bgr, long pos = -1, int within = 60, QRect r = {})
{
    const QImage shot = e.editorWidget()->grab().toImage();
    if (r.isNull())
        r = cellsOf(e, what, pos);
    int hits = 0;
    for (int py = r.top(); py <= r.bottom(); ++py)
        for (int px = r.left(); px <= r.right(); ++px) {
            const QRgb c = shot.pixel(px, py);
            hits += qAbs(qRed(c) - int(bgr & 0xFF)) + qAbs(qGreen(c) - int((bgr >> 8) & 0xFF)) + qAbs(qBlue(c) - int(bgr >> 16)) < within;
        }
    return hits;
}

// A CodeEdit filling a shown window; null when the window never becomes active.
CodeEdit *shownEditor(QMainWindow &window, int width = 600)
{
    auto *edit = new CodeEdit(&window);
    window.setCentralWidget(edit);
    window.resize(width, 300);
    window.show();
    return QTest::qWaitForWindowActive(&window) ? edit : nullptr;
}

QAbstractButton *button(FindReplaceDialog *dlg, const char *name)
{
    for (auto *b : dlg->findChildren<QAbstractButton *>())
        if (b->accessibleName() == QLatin1String(name))
            return b;
    return nullptr;
}

struct ReplaceRow { QByteArray text; QString what, options /* c: case, w: whole word, r: regex */, with; QByteArray after; QString status; };
struct BraceRow { QByteArray text, styles; long from /* the text's first position */, brace, endStyled, expected; };
struct InputMethodRow { QByteArray text; int anchor, caret; QString surrounding /* "*": a part of a long line */; int cursorAt, anchorAt; };

} // namespace

class TestCodeEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A loaded file is no change and no undo step (the previous document's steps are gone), and
    // Enter then writes the file's own line end, the new line indented as the one above.
    void loadThenEnter_data()
    {
        QTest::addColumn<QByteArray>("bytes"), QTest::addColumn<QByteArray>("expected");
        for (auto [name, end] : {std::pair<const char *, QByteArray>{"crlf", "\r\n"}, {"cr", "\r"}, {"lf", "\n"}})
            QTest::newRow(name) << "  ab" + end << "  a" + end + "  xb" + end;
    }
    void loadThenEnter()
    {
        QFETCH(QByteArray, bytes); QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("a.php"), bytes));
        CodeEdit edit;
        edit.setSetting(EditorSetting::AutoIndent, true);
        edit.setText("the previous document");
        QSignalSpy changed(&edit, &CodeEdit::documentChanged);
        QVERIFY(edit.LoadFile(dir.filePath("a.php")));
        QCoreApplication::processEvents();
        QCOMPARE(changed.count(), 0);
        QVERIFY(!edit.CanUndo());
        QCOMPARE(edit.Text(), bytes);
        send(edit, SCI_GOTOPOS, 3);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Return), QTest::keyClick(edit.editorWidget(), 'x');
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
        send(edit, SCI_GOTOPOS, 2);
        edit.setText(QByteArray("a\0b", 3)); // the caret stays where it was
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), 2L);
        select(edit, 1, 2);
        edit.setSelectedText(QByteArray(1, '\0'));
        edit.setSelectedText("<b>\r\n</b>"); // the caret after the new text
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), 10L);
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
        QCOMPARE(changed.count(), 6); // an undo is a change as well
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
        dlg->findEdit()->setText("x"), dlg->findNext(), dlg->close();
        QList<long> found{selectionStart(edit)};
        for (int i = 0; i < 3; ++i)
            edit.ExecuteCommand(EditorCommand::FindNext), found << selectionStart(edit);
        QCOMPARE(found, (QList<long>{0, 3, 6, 0}));
        QVERIFY(!dlg->isVisible());
        edit.ExecuteCommand(EditorCommand::FindDialog);
        button(dlg, "Search backwards")->setChecked(true);
        dlg->findNext();
        QCOMPARE(selectionStart(edit), 6L);
        dlg->findEdit()->setText("zzz"), dlg->findNext();
        QCOMPARE(dlg->statusText(), QStringLiteral("Cannot find \"zzz\"."));
        QCOMPARE(selectionStart(edit), 6L);
        QCOMPARE(edit.SelectedText(), QByteArray("x"));
        for (QWidget *w : dlg->findChildren<QWidget *>())
            if (w->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
        // Replace writes over the selected match, then finds the next one.
        edit.ExecuteCommand(EditorCommand::ReplaceDialog);
        button(dlg, "Search backwards")->setChecked(false);
        dlg->findEdit()->setText("x"), dlg->replaceEdit()->setText("_x");
        select(edit, 8, 8), dlg->replaceOne(); // nothing selected: only finds
        QCOMPARE(edit.Text(), QByteArray("x1 x2 x3"));
        dlg->replaceOne(); // the next find starts after the replacement
        QCOMPARE(edit.Text(), QByteArray("_x1 x2 x3"));
        QCOMPARE(selectionStart(edit), 4L);
        select(edit, 4, 6), dlg->replaceOne(); // only begins with a match: found past it, not replaced
        QCOMPARE(selectionStart(edit), 7L);
        button(dlg, "Regular expression")->setChecked(true);
        dlg->findEdit()->setText("x(\\d)"), dlg->replaceEdit()->setText("\\1y");
        select(edit, 7, 9), dlg->replaceOne();
        QCOMPARE(edit.Text(), QByteArray("_x1 x2 3y"));
    }

    void replaceAll_data()
    {
        QTest::addColumn<ReplaceRow>("row");
        QTest::newRow("any case") << ReplaceRow{"Cat cat CAT", "cat", "", "dog", "dog dog dog", "Replaced 3 occurrences."};
        QTest::newRow("match case") << ReplaceRow{"Cat cat CAT", "cat", "c", "dog", "Cat dog CAT", "Replaced 1 occurrence."};
        QTest::newRow("whole word") << ReplaceRow{"cat cats cat", "cat", "w", "x", "x cats x", "Replaced 2 occurrences."};
        QTest::newRow("whole word, '-' inside names") << ReplaceRow{"font-size size", "size", "w", "x", "font-size x", "Replaced 1 occurrence."};
        QTest::newRow("regex group") << ReplaceRow{"<b>a</b> <b>bb</b>", "<b>([a-z]*)</b>", "r", "[\\1]", "[a] [bb]", "Replaced 2 occurrences."};
        QTest::newRow("empty matches at line starts") << ReplaceRow{"a\nb\n", "^", "r", "> ", "> a\n> b\n> ", "Replaced 3 occurrences."};
        QTest::newRow("replacement holds the text") << ReplaceRow{"aa", "a", "", "aa", "aaaa", "Replaced 2 occurrences."};
        QTest::newRow("regex groups hold whole characters") << ReplaceRow{"aé😀\nb", "(.)$", "r", "[\\1]\\t", "aé[😀]\t\n[b]\t", "Replaced 2 occurrences."};
        QTest::newRow("utf8") << ReplaceRow{"café café", "café", "c", "tea", "tea tea", "Replaced 2 occurrences."};
        QTest::newRow("caret kept inside a character") << ReplaceRow{"aé", "a", "", "aa", "aaé", "Replaced 1 occurrence."};
        QTest::newRow("no match") << ReplaceRow{"abc", "q", "", "z", "abc", "Cannot find \"q\"."};
        QTest::newRow("no regex match") << ReplaceRow{"abc", "q+", "r", "z", "abc", "Cannot find \"q+\"."};
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
        dlg->findEdit()->setText(row.what), dlg->replaceEdit()->setText(row.with);
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
        CodeEdit *edit = shownEditor(*window, 400);
        QVERIFY(edit);
        auto *bar = qobject_cast<QAbstractScrollArea *>(edit->editorWidget())->horizontalScrollBar();
        QTRY_VERIFY(!bar->isVisible());
        QVERIFY(edit->LoadFile(wide));
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(edit->LoadFile(narrow));
        QTRY_VERIFY(!bar->isVisible());
        edit->ExecuteCommand(EditorCommand::FindDialog), edit->setFocus();
        window->close();
        delete window;
    }

    // Text that once stopped the HTML lexer: what follows it is still coloured, as painted.
    void colouredAfterOddMarkup_data()
    {
        QTest::addColumn<QByteArray>("text"), QTest::addColumn<bool>("html"); // HTML after it: its tags are tags
        for (const char *odd : {"Q&A<!-- -->", "&<!", "x&<!DOCTYPE html>"})
            QTest::newRow(odd) << QByteArray(odd) << true;
        // The lexer takes "<%<%%>" for an ASP script that never ends: what follows is coloured as
        // script, its "<!--" a comment.
        QTest::newRow("<%<%%><!") << QByteArray("<%<%%><!") << false;
    }
    void colouredAfterOddMarkup()
    {
        QFETCH(QByteArray, text); QFETCH(bool, html);
        QMainWindow window;
        CodeEdit *edit = shownEditor(window);
        QVERIFY(edit);
        edit->setLanguage("PHP");
        const quint32 comment = 0x00A000, tag = 0x0000E0; // BGR: green, red
        edit->SetItemColor(StyleItem::Comments, comment), edit->SetItemColor(StyleItem::TagColour, tag);
        edit->setText(text + "\n<!-- mmmmmmmm -->\n<b>mmmmmmmm</b>\n");
        auto colourAt = [&](const char *what, quint32 bgr) { return pixelsNear(*edit, what, bgr); };
        QTRY_VERIFY(colourAt("!-- mmmmmmmm --", comment) > 20);
        QCOMPARE(colourAt("b>mmmmmmmm</b", tag) > 20, html);
    }

    // The lexer's own colours where the window sets none (0xRRGGBB); "\n": the background past the
    // end of the piece's line, which a script block fills to the window's edge.
    void defaultColours_data()
    {
        QTest::addColumn<QByteArray>("text"), QTest::addColumn<QByteArray>("piece"), QTest::addColumn<quint32>("rgb");
        QTest::newRow("known tag") << QByteArray("<b>mmmm</b>") << QByteArray("b") << 0x000080u;
        QTest::newRow("unknown tag") << QByteArray("<zz>mmmm</zz>") << QByteArray("zz") << 0xff0000u;
        QTest::newRow("attribute") << QByteArray("<b class=\"x\">") << QByteArray("class") << 0x008080u;
        QTest::newRow("PHP keyword") << QByteArray("<?php echo 1; ?>") << QByteArray("echo") << 0x7f007fu;
        QTest::newRow("script line end") << QByteArray("<script>\nmmmm\n</script>") << QByteArray("mmmm\n") << 0xf0f0ffu;
    }
    void defaultColours()
    {
        QFETCH(QByteArray, text); QFETCH(QByteArray, piece); QFETCH(quint32, rgb);
        QMainWindow window;
        CodeEdit *edit = shownEditor(window);
        QVERIFY(edit);
        edit->setLanguage("PHP"), edit->setText(text);
        const quint32 bgr = (rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
        if (piece.endsWith('\n')) { // exact: the background is not blended
            const QRect line = cellsOf(*edit, piece.chopped(1));
            QTRY_VERIFY(pixelsNear(*edit, piece, bgr, -1, 8, QRect(line.right() + 20, line.top(), 100, line.height())) > 50 * line.height());
        } else {
            QTRY_VERIFY(pixelsNear(*edit, piece, bgr) > 5);
        }
    }

    // In the monospaced font every character takes one cell and a combining accent none, at any
    // zoom: the caret's x after each character.
    void monospacedCells_data()
    {
        QTest::addColumn<QByteArray>("text"), QTest::addColumn<QList<int>>("cells"); // at each character's start
        QTest::newRow("aéx") << QByteArray("aéx") << QList<int>{0, 1, 2};
        QTest::newRow("a€x") << QByteArray("a€x") << QList<int>{0, 1, 2};
        QTest::newRow("e + combining acute") << QByteArray("ae\xCC\x81x") << QList<int>{0, 1, 2, 2};
        QTest::newRow("ab tab c") << QByteArray("ab\tc") << QList<int>{0, 1, 2, 8}; // text before a tab is text
    }
    void monospacedCells()
    {
        QFETCH(QByteArray, text); QFETCH(QList<int>, cells);
        CodeEdit edit;
        edit.setLanguage("PHP"), edit.setText(text + "\n" + QByteArray(12, 'a')); // the second line: the cells
        const long cell0 = long(text.size()) + 1;
        auto x = [&](long pos) { return send(edit, SCI_POINTXFROMPOSITION, 0, pos); };
        for (int zoom : {0, 6}) {
            send(edit, SCI_SETZOOM, ulong(zoom));
            QList<int> found;
            auto cellAt = [&](long pos) { // within a pixel: the widths are fractions
                int c = 0;
                while (c < 12 && x(cell0 + c) < x(pos) - 1) ++c;
                return qAbs(x(cell0 + c) - x(pos)) <= 1 ? c : -1;
            };
            for (long pos = 0; pos < text.size(); pos = send(edit, SCI_POSITIONAFTER, pos))
                found << cellAt(pos);
            QCOMPARE(found, cells);
            QCOMPARE(cellAt(long(text.size())), cells.back() + 1);
        }
    }

    // Edits small and large, undone and redone and replaced by new ones: each undo and redo gives
    // back exactly the text of that step.
    void undoHistory()
    {
        CodeEdit edit;
        QList<QByteArray> steps{""};
        qsizetype at = 0;
        Random next{7};
        const QByteArray script = "sbbuusu"; // first: an edit after undoing texts of two blocks
        for (int i = 0; i < 400; ++i) {
            const char step = i < script.size() ? script[i] : '\0';
            const quint32 what = step == 'u' ? 0 : step ? 9 : next(10);
            if (what < 3 && at > 0) {
                edit.Undo(), --at;
            } else if (what < 5 && at + 1 < steps.size()) {
                edit.Redo(), ++at;
            } else {
                QByteArray text = steps[at];
                const long from = long(next(quint32(text.size() + 1)));
                const long n = step ? (step == 'b' ? 9000 : 5) : long(next(2) ? next(9000) : next(20)) + 1;
                if (!step && next(2) && from < text.size()) {
                    text.remove(from, n);
                    send(edit, SCI_DELETERANGE, ulong(from), std::min(n, long(steps[at].size()) - from));
                } else {
                    const QByteArray added(n, char('a' + i % 26));
                    text.insert(from, added);
                    send(edit, SCI_INSERTTEXT, ulong(from), reinterpret_cast<long>(added.constData()));
                }
                steps.resize(++at), steps << text;
            }
            QCOMPARE(edit.Text(), steps[at]);
        }
    }

    // The scheme as painted: scripts on their own background, an italic item slanted, the caret in
    // the text's colour, selected text in the desktop's highlighted-text colour.
    void paintedLook()
    {
        QMainWindow window;
        CodeEdit *edit = shownEditor(window);
        QVERIFY(edit);
        edit->setLanguage("PHP");
        const quint32 page = 0x80C0C0, script = 0xC08080, text = 0x00A000; // BGR
        for (auto [item, bgr] : {std::pair{StyleItem::PageBackground, page}, {StyleItem::ScriptBackground, script}, {StyleItem::DefaultText, text}})
            edit->SetItemColor(item, bgr);
        edit->setText("mmmm <?php mmmm(); ?>\n<!--mmmm-->\n" + QByteArray(300, 'w') + "\n");
        // Mostly the one background (glyph edges blend into the other).
        QTRY_VERIFY(pixelsNear(*edit, " mmmm()", script) > 10 * pixelsNear(*edit, " mmmm()", page));
        QVERIFY(pixelsNear(*edit, "mmmm ", page) > 10 * pixelsNear(*edit, "mmmm ", script));
        const QRect comment = cellsOf(*edit, "mmmm-->");
        const QImage upright = edit->editorWidget()->grab(comment).toImage();
        edit->SetItemFontStyle(StyleItem::Comments, FontStyle::Italic);
        QTRY_VERIFY(edit->editorWidget()->grab(comment).toImage() != upright);
        edit->editorWidget()->setFocus(), send(*edit, SCI_SETCARETPERIOD, 0);
        const long end = long(edit->Text().size()), line = end - 301;
        send(*edit, SCI_GOTOPOS, end);
        QTRY_VERIFY(pixelsNear(*edit, "", text, end) > 10);
        // A selected line wider than the window: its text and background drawn up to the right edge.
        select(*edit, line + 300, line);
        const QRect edge(static_cast<QAbstractScrollArea *>(edit->editorWidget())->viewport()->width() - 24,
                         int(send(*edit, SCI_POINTYFROMPOSITION, 0, line)), 20, int(send(*edit, SCI_TEXTHEIGHT, 0)));
        const QPalette colours = edit->editorWidget()->palette();
        QTRY_VERIFY(pixelsNear(*edit, "", bgrOf(colours.color(QPalette::HighlightedText)), -1, 60, edge) > 10);
        QVERIFY(pixelsNear(*edit, "", bgrOf(colours.color(QPalette::Highlight)), -1, 8, edge) > 100);
        const QImage unmarked = edit->editorWidget()->grab().toImage(); // a problem's marks, all gone when cleared
        edit->markProblem(1, "unexpected end of file");
        QVERIFY(edit->editorWidget()->grab().toImage() != unmarked);
        edit->clearProblem();
        QTRY_COMPARE(edit->editorWidget()->grab().toImage(), unmarked);
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
        QTest::addColumn<int>("blockBytes"), QTest::addColumn<int>("repeats");
        for (int n : {4, 5, 7, 1 << 20})
            QTest::addRow("%d bytes", n) << n << 40;
        QTest::addRow("3 MB in 1 MB blocks") << (1 << 20) << 100'000;
    }
    void rewriteTextBlockByBlock()
    {
        QFETCH(int, blockBytes); QFETCH(int, repeats);
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
        edit.Undo(), edit.setSelectedText("x"), edit.Undo();
        QCOMPARE(edit.Text(), original);
        edit.Undo();
        QCOMPARE(edit.Text(), QByteArray());
        edit.Redo(), edit.Redo();
        QVERIFY(edit.Text() != original && edit.Text().size() == original.size() + 1);
        // Following the caret (escapes before a save): only what grows before it moves it.
        edit.setText("\xC3\xA9x\xC3\xA9"), send(edit, SCI_GOTOPOS, 3);
        QVERIFY(edit.rewriteText([](const QByteArray &b) { return QByteArray(b).replace("\xC3\xA9", "&#233;"); }, 13, blockBytes, true));
        QCOMPARE(edit.Text() + QByteArray::number(send(edit, SCI_GETCURRENTPOS)), QByteArray("&#233;x&#233;7"));
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
        edit.setText(row.text), select(edit, row.anchor, row.caret);
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
        QTest::addColumn<qsizetype>("size"), QTest::addColumn<QString>("folder");
        QTest::newRow("8 MB exactly") << qsizetype(8 << 20) << QString();
        QTest::newRow("8 MB + 1") << qsizetype((8 << 20) + 1) << QString();
        QTest::newRow("9 MB + 3 on /dev/shm") << qsizetype((9 << 20) + 3) << QStringLiteral("/dev/shm");
    }
    void largeSaveIsByteIdentical()
    {
        QFETCH(qsizetype, size); QFETCH(QString, folder);
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
