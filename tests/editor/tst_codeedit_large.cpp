// What keeps the component fast on large documents: answers that stay within the caret's line
// or a bounded window, and batch bookkeeping; each must still give the right result.
#include "TestRegistry.h"

#include "document/AtomicFile.h"
#include "editor/component/BraceMatch.h"
#include "editor/component/CodeEdit.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodQueryEvent>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrin;

namespace {

// Character and style pairs, as Scintilla's styled-text copy gives them.
QByteArray cells(const QByteArray &text, const QByteArray &styles)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text.at(i));
        out.append(i < styles.size() ? styles.at(i) : '0');
    }
    return out;
}

QVariant query(CodeEdit &edit, Qt::InputMethodQuery what)
{
    return edit.editorWidget()->inputMethodQuery(what);
}

} // namespace

class TestBraceMatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchBrace_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("styles");
        QTest::addColumn<long>("brace");
        QTest::addColumn<long>("endStyled");
        QTest::addColumn<long>("expected");
        QTest::newRow("(a) forward") << QByteArray("(a)") << QByteArray("000") << 0L << 3L << 2L;
        QTest::newRow("(a) backward") << QByteArray("(a)") << QByteArray("000") << 2L << 3L << 0L;
        QTest::newRow("{[()]} nested") << QByteArray("{[()]}") << QByteArray("000000") << 0L << 6L << 5L;
        QTest::newRow("((x) inner first") << QByteArray("((x)") << QByteArray("0000") << 0L << 4L << -1L;
        QTest::newRow("<a> tag") << QByteArray("<a>") << QByteArray("111") << 0L << 3L << 2L;
        QTest::newRow("(\")\") string brace skipped")
            << QByteArray("(\")\")") << QByteArray("01110") << 0L << 5L << 4L;
        QTest::newRow("(\")\" unstyled counts") << QByteArray("(\")\"") << QByteArray("0111") << 0L << 1L << 2L;
        QTest::newRow("x not a brace") << QByteArray("x)") << QByteArray("00") << 0L << 2L << -1L;
        QTest::newRow("[ unmatched") << QByteArray("[abc") << QByteArray("0000") << 0L << 4L << -1L;
    }
    void matchBrace()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, styles);
        QFETCH(long, brace);
        QFETCH(long, endStyled);
        QFETCH(long, expected);
        const QByteArray c = cells(text, styles);
        QCOMPARE(kestrin::matchBrace(c.constData(), 0, text.size(), brace, endStyled), expected);
    }

    // A window that starts later in the document: positions are the document's, not the window's.
    void matchBraceInWindow()
    {
        const QByteArray c = cells("x(y)", "0000");
        QCOMPARE(kestrin::matchBrace(c.constData(), 100, 104, 101, 1000), 103L);
        QCOMPARE(kestrin::matchBrace(c.constData(), 100, 104, 50, 1000), -1L);
    }
};
KESTRIN_REGISTER_TEST(TestBraceMatch);

class TestCodeEditLarge : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectedTextHead_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("#ff0000 whole") << QByteArray("x #ff0000 y") << 2 << 9 << 32 << QByteArray("#ff0000");
        QTest::newRow("long selection cut") << QByteArray("abcdefgh") << 0 << 8 << 3 << QByteArray("abc");
        QTest::newRow("nothing selected") << QByteArray("abc") << 1 << 1 << 32 << QByteArray();
        QTest::newRow("zero bytes asked") << QByteArray("abc") << 0 << 3 << 0 << QByteArray();
        QTest::newRow("selected backwards") << QByteArray("abcdef") << 5 << 1 << 2 << QByteArray("bc");
    }
    void selectedTextHead()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, maxBytes);
        QFETCH(QByteArray, expected);
        CodeEdit edit;
        edit.setText(text);
        // Selected with the keyboard, as a user would.
        QTest::keyClick(edit.editorWidget(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < std::min(from, to); ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        if (to > from) {
            for (int i = from; i < to; ++i)
                QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        } else {
            for (int i = to; i < from; ++i)
                QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
            for (int i = to; i < from; ++i)
                QTest::keyClick(edit.editorWidget(), Qt::Key_Left, Qt::ShiftModifier);
        }
        QCOMPARE(edit.selectedTextHead(maxBytes), expected);
        QVERIFY(edit.SelectedText().startsWith(expected));
    }

    // A rewrite block by block gives exactly what one pass over the whole text gives, whatever
    // the block length: no character is cut between two blocks (a cut one would come back as
    // U+FFFD). One undo step, and the caret stays where it was.
    void rewriteTextBlockByBlock_data()
    {
        QTest::addColumn<int>("blockBytes");
        QTest::newRow("4 bytes") << 4;
        QTest::newRow("5 bytes") << 5;
        QTest::newRow("7 bytes") << 7;
        QTest::newRow("one block") << (1 << 20);
    }
    void rewriteTextBlockByBlock()
    {
        QFETCH(int, blockBytes);
        QByteArray original;
        for (int i = 0; i < 40; ++i)
            original += "Caf\xC3\xA9 \xC3\x96l\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x98\x80 na\xC3\xAFve \xE2\x82\xAC\r\n";
        const auto upper = [](const QByteArray &block) { return QString::fromUtf8(block).toUpper().toUtf8(); };
        const QByteArray expected = upper(original);

        CodeEdit edit;
        edit.setText(original);
        edit.GoToLine(3, false);
        QVERIFY(edit.rewriteText(upper, expected.size(), blockBytes));
        QCOMPARE(edit.Text(), expected);
        edit.setSelectedText("|");
        QCOMPARE(edit.Text().indexOf('|'), original.indexOf("\r\n", original.indexOf("\r\n") + 1) + 2);
        edit.Undo();
        edit.Undo();
        QCOMPARE(edit.Text(), original);
        edit.Redo();
        QCOMPARE(edit.Text(), expected);
    }

    // Input methods get the caret's line and the caret's place in it, counted in characters.
    void inputMethodSurroundingText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("caretLine");  // 1-based
        QTest::addColumn<int>("rightMoves"); // characters from the line's start
        QTest::addColumn<QString>("surrounding");
        QTest::addColumn<int>("cursor");
        QTest::newRow("middle line lf") << QByteArray("one\ntwo\nthree\n") << 2 << 1 << QStringLiteral("two") << 1;
        QTest::newRow("crlf line end left out") << QByteArray("a\r\nbc\r\n") << 2 << 2 << QStringLiteral("bc") << 2;
        QTest::newRow("caf\xC3\xA9 counted in characters")
            << QByteArray("x\ncaf\xC3\xA9 au lait\n") << 2 << 5 << QString::fromUtf8("caf\xC3\xA9 au lait") << 5;
        QTest::newRow("empty document") << QByteArray() << 1 << 0 << QString() << 0;
    }
    void inputMethodSurroundingText()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, caretLine);
        QFETCH(int, rightMoves);
        QFETCH(QString, surrounding);
        QFETCH(int, cursor);
        CodeEdit edit;
        edit.setText(text);
        edit.GoToLine(caretLine);
        for (int i = 0; i < rightMoves; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        QCOMPARE(query(edit, Qt::ImSurroundingText).toString(), surrounding);
        QCOMPARE(query(edit, Qt::ImCursorPosition).toInt(), cursor);
        QCOMPARE(query(edit, Qt::ImAnchorPosition).toInt(), cursor);
    }

    // A line far longer than any input method reads: a window around the caret, cut on whole
    // characters, with the caret inside it.
    void inputMethodLongLine()
    {
        QByteArray line;
        for (int i = 0; i < 2000; ++i)
            line += "\xC3\xA9"; // two bytes each
        CodeEdit edit;
        edit.setText(line + line);
        QTest::keyClick(edit.editorWidget(), Qt::Key_End, Qt::ControlModifier);
        for (int i = 0; i < 2000; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Left);
        const QString text = query(edit, Qt::ImSurroundingText).toString();
        QVERIFY(!text.isEmpty());
        QVERIFY(text.size() < 4000);
        QCOMPARE(text, QString(text.size(), QChar(0xE9))); // no broken character at either edge
        const int cursor = query(edit, Qt::ImCursorPosition).toInt();
        QVERIFY(cursor > 0 && cursor < text.size());
    }

    void inputMethodSelection()
    {
        CodeEdit edit;
        edit.setText("abc d\xC3\xA9" "f");
        QTest::keyClick(edit.editorWidget(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(edit.editorWidget(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(query(edit, Qt::ImCurrentSelection).toString(), QString::fromUtf8("d\xC3\xA9" "f"));
        QCOMPARE(query(edit, Qt::ImAnchorPosition).toInt(), 4);
        QCOMPARE(query(edit, Qt::ImCursorPosition).toInt(), 7);
    }

    // Assistive technology still finds the document as an editable field with its name.
    void accessibleIsEditableText()
    {
        CodeEdit edit;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(edit.editorWidget());
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::EditableText);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Document text"));
    }

    // The multi-file runs need exactly the files that did not reach their place.
    void failedSavesNamesTheFileThatFailed()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString good = dir.filePath(QStringLiteral("good.htm"));
        const QString bad = dir.filePath(QStringLiteral("bad.htm"));
        CodeEdit edit;
        edit.setText("<p>x</p>");
        QVERIFY(edit.SaveFile(good, SaveMode::Batch));
        QVERIFY(edit.SaveFile(bad, SaveMode::Batch));
        // A folder (not empty) now stands where the second file goes: the rename must fail.
        QVERIFY(QDir().mkpath(bad + QStringLiteral("/inside")));
        QVERIFY(!edit.CommitSaves());
        QCOMPARE(edit.failedSaves(), QStringList{bad});
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<p>x</p>"));
        // A later successful commit forgets the earlier failure.
        QVERIFY(edit.SaveFile(good, SaveMode::Batch));
        QVERIFY(edit.CommitSaves());
        QVERIFY(edit.failedSaves().isEmpty());
    }

    // Large durable saves take another path to the disk; what lands there must be the same bytes.
    void largeSaveIsByteIdentical_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<QString>("folder"); // empty: the build folder's disk
        QTest::newRow("8 MB exactly") << qsizetype(8 * 1024 * 1024) << QString();
        QTest::newRow("8 MB + 1") << qsizetype(8 * 1024 * 1024 + 1) << QString();
        // Memory file systems may refuse direct writes; the save must still succeed.
        QTest::newRow("9 MB + 3 on /dev/shm") << qsizetype(9 * 1024 * 1024 + 3) << QStringLiteral("/dev/shm");
    }
    void largeSaveIsByteIdentical()
    {
        QFETCH(qsizetype, size);
        QFETCH(QString, folder);
        if (!folder.isEmpty() && !QFileInfo(folder).isDir())
            QSKIP("no such folder on this machine");
        QByteArray text;
        text.reserve(size);
        const QByteArray line = "<p class=\"x\">caf\xC3\xA9 &amp; \xE2\x82\xAC</p>\r\n";
        for (int i = 0; text.size() < size; ++i)
            text += line + QByteArray::number(i) + "\r\n";
        text.truncate(size);
        QTemporaryDir dir((folder.isEmpty() ? QDir::currentPath() : folder) + QStringLiteral("/largesave-XXXXXX"));
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("big.htm"));
        {
            QFile f(path); // an old, longer file is replaced, not overwritten in place
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(size + 10000, 'o'));
        }
        QString why;
        QVERIFY2(AtomicFile::write(path, text, &why), qPrintable(why));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray back = f.readAll();
        QCOMPARE(back.size(), text.size());
        QVERIFY(back == text);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // Many staged files: each is found pending, and a path that is not staged is not.
    void batchPendingAmongMany()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        AtomicBatch batch;
        QString why;
        for (int i = 0; i < 300; ++i)
            QVERIFY(batch.stage(dir.filePath(QStringLiteral("f%1.txt").arg(i)), "x", &why));
        QVERIFY(batch.isPending(dir.filePath(QStringLiteral("f0.txt"))));
        QVERIFY(batch.isPending(dir.filePath(QStringLiteral("f299.txt"))));
        QVERIFY(!batch.isPending(dir.filePath(QStringLiteral("f300.txt"))));
        QVERIFY(batch.commit(&why));
        QVERIFY(!batch.isPending(dir.filePath(QStringLiteral("f0.txt"))));
        QCOMPARE(batch.pendingCount(), 0);
    }
};
KESTRIN_REGISTER_TEST(TestCodeEditLarge);

#include "tst_codeedit_large.moc"
