#include "EngineProbe.h"
#include "FileBytes.h"
#include "TestRegistry.h"

#include "editor/component/CodeEdit.h"
#include "editor/component/HtmlLexer.h"

#include <SciLexer.h>

#include <QtTest>
#include <QtWidgets>

using namespace kestrin;
using kestrin::test::Random;
using kestrin::test::send;
using kestrin::test::writeBytes;

namespace {

// The start of the character at pos; the document's end is one.
long charStart(const CodeEdit &e, long pos)
{
    return pos >= send(e, SCI_GETLENGTH) ? pos : send(e, SCI_POSITIONBEFORE, send(e, SCI_POSITIONAFTER, pos));
}

} // namespace

// Lines of tens of kilobytes, as minified pages and scripts have: coloured only at their start,
// laid out again only around an edit, and read to a screen reader from the last offset known.
class TestLongLine : public QObject {
    Q_OBJECT
private slots:
    // What a screen reader reads, in UTF-16 units. Offsets on a long line are counted from the last
    // one known, kept across edits before, at and across it, and across a new document: each offset,
    // and the caret's line, stays what counting from the start gives.
    void accessibleOffsetsAcrossEdits()
    {
        CodeEdit edit;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(edit.editorWidget());
        QVERIFY(a->role() == QAccessible::EditableText && a->text(QAccessible::Name) == QStringLiteral("Document text"));
        QAccessibleTextInterface *t = a->textInterface();
        QVERIFY(t && t->characterCount() == 0); // in use before there is any text
        const QByteArray unit = "ab\xC3\xA9 \xE2\x82\xAC\xF0\x9D\x84\x9E;";
        edit.setText("x\n" + unit.repeated(2000) + "\n");
        Random next{5};
        auto units = [&](long pos) { return int(QString::fromUtf8(edit.Text().left(pos)).size()); };
        auto anywhere = [&] { return charStart(edit, long(next(quint32(send(edit, SCI_GETLENGTH) + 1)))); };
        for (long i = 0, caret = 0; i < 120; ++i) { // half the edits just before or across the last caret offset asked for
            const long length = send(edit, SCI_GETLENGTH), at = charStart(edit, std::clamp(next(2) ? caret - long(next(20)) : long(next(quint32(length))), 0L, length));
            if (i == 60) { // another document: what was known of the last one is not used
                QTemporaryDir dir;
                const long known = send(edit, SCI_GETCURRENTPOS);
                QCOMPARE(t->cursorPosition(), units(known));
                QVERIFY(writeBytes(dir.filePath("b.html"), "\xC3\xA9\r\n\xC3\xA9" + unit.repeated(2100)) && edit.LoadFile(dir.filePath("b.html")));
                send(edit, SCI_GOTOPOS, charStart(edit, known + 3));
                QCOMPARE(t->cursorPosition(), units(charStart(edit, known + 3)));
            } else if (next(2) && at < length) {
                send(edit, SCI_DELETERANGE, ulong(at), charStart(edit, std::min(length, at + long(next(40)))) - at);
            } else {
                send(edit, SCI_INSERTTEXT, ulong(at), reinterpret_cast<long>(unit.left(int(next(quint32(unit.size()))) / 4 * 4).constData()));
            }
            const long target = anywhere();
            caret = anywhere();
            send(edit, SCI_GOTOPOS, caret);
            QCOMPARE(t->cursorPosition(), units(caret));
            QCOMPARE(t->characterCount(), units(send(edit, SCI_GETLENGTH)));
            t->setCursorPosition(units(target));
            QCOMPARE(send(edit, SCI_GETCURRENTPOS), target);
        }
        for (const long pos : {charStart(edit, 2), charStart(edit, 5000), long(send(edit, SCI_GETLENGTH))}) { // CR LF, the long line, the end
            const long line = send(edit, SCI_LINEFROMPOSITION, pos), from = send(edit, SCI_POSITIONFROMLINE, line);
            const long to = line + 1 < send(edit, SCI_GETLINECOUNT) ? send(edit, SCI_POSITIONFROMLINE, line + 1) : send(edit, SCI_GETLENGTH);
            int start = -1, end = -1;
            QCOMPARE(t->textAtOffset(units(pos), QAccessible::LineBoundary, &start, &end), QString::fromUtf8(edit.Text().mid(from, to - from)));
            QCOMPARE((QList<int>{start, end}), (QList<int>{units(from), units(to)}));
        }
        const long astral = long(edit.Text().indexOf("\xF0")); // inside a surrogate pair: the character's start
        t->setCursorPosition(units(astral) + 1);
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), astral);
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
        edit.GoToLine(1), send(edit, SCI_GOTOPOS, longLine.size() - 4);
        QTest::keyClicks(edit.editorWidget(), "<b>");
        send(edit, SCI_COLOURISE, 0, -1);
        QCOMPARE(styleAt(longLine.size() - 3), 0L);
        QCOMPARE(styleAt(longLine.size() + 5), long(SCE_H_TAG));
        // A paste before the cut pushes plain text and then tags past it: all of it goes back to the
        // default style.
        const long pushed = kColouredLineBytes - 64000 - 1000;
        edit.setText(QByteArray("<b>x</b>").repeated((64000 + pushed) / 8) + QByteArray(600, 'a') + QByteArray("<b>x</b>").repeated(50) + QByteArray(2000, 'q') + "\n");
        send(edit, SCI_COLOURISE, 0, -1);
        QCOMPARE(styleAt(cut - 100), long(SCE_H_TAG));
        send(edit, SCI_INSERTTEXT, 0, reinterpret_cast<long>(QByteArray(1000, 'z').constData()));
        send(edit, SCI_COLOURISE, 0, -1);
        QCOMPARE(styleAt(cut + 10), 0L);
        QCOMPARE(styleAt(cut + 700), 0L);
        // In PHP: a line of 64 KB with its line end is coloured whole; after a longer one the page
        // goes on as HTML. A key restyles from its line on, in the style before it.
        const QByteArray full = "$" + QByteArray(64 * 1024 - 3, 'a') + ";\n";
        edit.setText("<?php\n" + full + "echo 1;\n$" + full + "<i>y</i>\n<?php\n$b = 1;\n");
        send(edit, SCI_COLOURISE, 0, -1);
        const QByteArray all = edit.Text();
        QCOMPARE(styleAt(long(all.indexOf("echo"))), long(SCE_HPHP_WORD));
        auto typeAt = [&](long pos) { // as the view restyles: from the start of the edited line
            send(edit, SCI_GOTOPOS, pos);
            QTest::keyClicks(edit.editorWidget(), "2");
            send(edit, SCI_COLOURISE, send(edit, SCI_POSITIONFROMLINE, send(edit, SCI_LINEFROMPOSITION, send(edit, SCI_GETENDSTYLED))), -1);
        };
        typeAt(long(all.lastIndexOf("1;")));
        QCOMPARE(styleAt(long(all.lastIndexOf("$b"))), long(SCE_HPHP_VARIABLE));
        typeAt(long(all.indexOf("1;")));
        QCOMPARE(styleAt(long(all.indexOf("<i>")) + 2), long(SCE_H_TAG));
    }

    // A long line is laid out again only around an edit: after each of many random edits, undos and
    // restylings, every sampled position and style, and the pixels around the edit, are what a
    // fresh layout of the same text gives.
    void longLineLaidOutAroundEdits_data()
    {
        QTest::addColumn<QByteArray>("unit"), QTest::addColumn<int>("units"), QTest::addColumn<QByteArray>("after");
        QTest::newRow("coloured page, 40 KB") << QByteArray("<p class=\"a\">caf\xC3\xA9 <?php echo $x; ?></p>\x01 ") << 800 << QByteArray("\nend\n");
        QTest::newRow("script past the colouring limit, 90 KB, last line") << QByteArray("var a=[1,\"\xE2\x82\xAC\"];if(a){b(c)} ") << 2400 << QByteArray();
    }
    void longLineLaidOutAroundEdits()
    {
        QFETCH(QByteArray, unit); QFETCH(int, units); QFETCH(QByteArray, after);
        QWidget window;
        auto *row = new QHBoxLayout(&window);
        CodeEdit edit, fresh;
        for (CodeEdit *e : {&edit, &fresh}) { // scrolled alike: not held to the widest line seen yet
            e->setLanguage("PHP"), e->setText("<b>" + QByteArray(400, 'w') + "\n'>" + unit.repeated(units) + after), e->setFixedSize(420, 160), row->addWidget(e);
            send(*e, SCI_SETCARETSTYLE, CARETSTYLE_INVISIBLE), send(*e, SCI_SETSCROLLWIDTHTRACKING, 0);
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        send(fresh, SCI_SETLAYOUTCACHE, SC_CACHE_NONE); // every query lays the line out whole
        Random next{11};
        const QList<QByteArray> pieces{"x", "\xC3\xA9", "\t", "  ", "\"", "<i>", "\xE2\x82\xAC;", "\x02"};
        for (int i = 0; i < 160; ++i) {
            // Edits within lines, mostly at the long line's end or middle, and set steps: a deletion
            // at the end of the document, a comment opened mid-line (the rest restyled), a tab near
            // the end and then a key before it, a quote opened on the line before that ends on the
            // long line, growth past the layout's room, a line break.
            const long length = send(edit, SCI_GETLENGTH), start = send(edit, SCI_POSITIONFROMLINE, 1), lineEnd = send(edit, SCI_GETLINEENDPOSITION, 1);
            const quint32 where = i == 1 || i == 3 || i == 80 ? 1 : i == 2 ? 0 : next(4), what = i == 0 ? 2 : i <= 4 || i == 80 || i == 120 ? 9 : next(10);
            long at = i == 0 ? length - 9 : i == 4 ? 3 : where == 0 ? lineEnd - long(next(3)) - (i == 2 ? 60 : 0) : where == 1 ? (start + lineEnd) / 2 : long(next(quint32(length)));
            at = charStart(edit, std::clamp(at, 0L, length));
            if (what < 2) {
                send(edit, SCI_UNDO);
            } else if (what < 5 && at < length) {
                const long end = std::min(at + long(i == 0 ? 700 : next(700)), send(edit, SCI_GETLINEENDPOSITION, send(edit, SCI_LINEFROMPOSITION, at)));
                send(edit, SCI_DELETERANGE, ulong(at), std::max(at, charStart(edit, end)) - at);
            } else {
                const QByteArray added = i == 1 ? "<!--" : i == 2 ? "\t" : i == 3 ? "x" : i == 4 ? "<i x='" : i == 80 ? unit.repeated(24000 / int(unit.size())) : i == 120 ? "\n"
                                                                     : pieces[next(quint32(pieces.size()))].repeated(1 + int(next(2) ? 0 : next(300)));
                send(edit, SCI_INSERTTEXT, ulong(at), reinterpret_cast<long>(added.constData()));
            }
            send(edit, SCI_COLOURISE, 0, -1), fresh.setText(edit.Text()), send(fresh, SCI_COLOURISE, 0, -1);
            const long n = send(edit, SCI_GETLENGTH), cut = start + kColouredLineBytes;
            at = std::min(at, n);
            for (CodeEdit *e : {&edit, &fresh}) // the same view of the change in both
                send(*e, SCI_SETEMPTYSELECTION, at), send(*e, SCI_SETXOFFSET, 0), send(*e, SCI_SETFIRSTVISIBLELINE, 0);
            for (long k = 0; k <= 90; ++k) { // random places, around the colouring cut, the line's and the document's ends
                long pos = k < 89 ? charStart(edit, std::clamp(k >= 60 ? cut - 15 + (k - 60) * 15 : long(next(quint32(n))), 0L, n))
                                  : k == 89 ? send(edit, SCI_GETLINEENDPOSITION, 1) : n;
                QCOMPARE(send(edit, SCI_POINTXFROMPOSITION, 0, pos), send(fresh, SCI_POINTXFROMPOSITION, 0, pos));
                QCOMPARE(send(edit, SCI_GETSTYLEAT, pos), send(fresh, SCI_GETSTYLEAT, pos));
            }
            // The pixels around the change, three quarters along the long line and before the cut.
            for (long shown : {at, (send(edit, SCI_POSITIONFROMLINE, 1) + 3 * send(edit, SCI_GETLINEENDPOSITION, 1)) / 4, std::min(cut - 100, n)}) {
                const long x = std::max(0L, send(fresh, SCI_POINTXFROMPOSITION, 0, shown) - 150);
                for (CodeEdit *e : {&edit, &fresh})
                    send(*e, SCI_SETSCROLLWIDTH, 1 << 30), send(*e, SCI_SETFIRSTVISIBLELINE, std::max(0L, send(edit, SCI_LINEFROMPOSITION, shown) - 1)), send(*e, SCI_SETXOFFSET, x);
                QVERIFY2(edit.editorWidget()->grab().toImage() == fresh.editorWidget()->grab().toImage(), qPrintable(QString::number(i)));
                send(edit, SCI_SETXOFFSET, 0), send(fresh, SCI_SETXOFFSET, 0);
            }
        }
    }

    // In a proportional font a long run is measured in pieces cut between words, never inside one
    // (a pair of letters cut apart loses its kerning): a word starts where the text before it,
    // measured whole, ends.
    void longRunMeasuredInWholeWords()
    {
        CodeEdit edit;
        edit.setText(QByteArray("AVAVAV ").repeated(500)), send(edit, SCI_SETILEXER, 0, 0);
        send(edit, SCI_STYLESETFONT, 0, reinterpret_cast<long>("Sans")), send(edit, SCI_STYLESETSIZE, 0, 40);
        send(edit, SCI_STYLESETCHECKMONOSPACED, 0, 0), edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        for (int words : {100, 200, 499}) {
            const long whole = send(edit, SCI_TEXTWIDTH, 0, reinterpret_cast<long>(edit.Text().left(words * 7).constData()));
            QVERIFY2(std::abs(send(edit, SCI_POINTXFROMPOSITION, 0, words * 7) - send(edit, SCI_POINTXFROMPOSITION, 0, 0) - whole) <= 2, qPrintable(QString::number(whole)));
        }
    }

    // Giving a range one style changes that range and nothing after it, whichever of the blocks it
    // is compared in holds its end.
    void oneStyleForARange_data()
    {
        QTest::addColumn<int>("length");
        for (int n : {1, 255, 256, 257, 700})
            QTest::addRow("%d bytes", n) << n;
    }
    void oneStyleForARange()
    {
        QFETCH(int, length);
        CodeEdit edit;
        edit.setText(QByteArray(1000, 'a')), send(edit, SCI_SETILEXER, 0, 0);
        send(edit, SCI_STARTSTYLING, 0), send(edit, SCI_SETSTYLING, 1000, 3);
        send(edit, SCI_STARTSTYLING, 100), send(edit, SCI_SETSTYLING, ulong(length), 5);
        for (long pos : {99L, 100L, 99L + length, 100L + length})
            QCOMPARE(send(edit, SCI_GETSTYLEAT, ulong(pos)), pos < 100 || pos >= 100 + length ? 3L : 5L);
    }
};
KESTRIN_REGISTER_TEST(TestLongLine);

#include "tst_longline.moc"
