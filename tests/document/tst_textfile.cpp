#include "FileBytes.h"
#include "TestRegistry.h"

#include "document/Document.h"
#include "document/FileFingerprint.h"

#include <QtTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace kestrin;
using kestrin::test::entries;
using kestrin::test::readBytes;
using kestrin::test::writeBytes;

Q_DECLARE_METATYPE(kestrin::LineEnd)

// decodeText through streamText, the bytes read `piece` at a time.
static DecodeResult streamed(const QByteArray &bytes, qsizetype piece)
{
    struct : TextSource {
        QByteArray b;
        qsizetype at = 0;
        qsizetype read(char *to, qsizetype n) override
        {
            return std::copy_n(b.constData() + at, n = std::min(n, b.size() - at), to), at += n, n;
        }
        bool rewind() override { return (at = 0) == 0; }
        QString error() const override { return QString(); }
        qsizetype size() const override { return b.size(); }
    } source;
    source.b = bytes;
    struct : TextSink {
        QByteArray text;
        bool begin(qsizetype) override { return text.clear(), true; }
        bool append(const char *p, qsizetype n) override { return text.append(p, n), true; }
    } sink;
    DecodeResult r;
    r.ok = streamText(source, sink, piece, &r.format, &r.error);
    r.utf8 = sink.text;
    return r;
}

class TestTextFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every file that decodes is saved back byte for byte, in memory and through a file.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes"), QTest::addColumn<QString>("encoding"); // empty: not text, refused
        QTest::addColumn<LineEnd>("lineEnd"), QTest::addColumn<QByteArray>("utf8"); // the text the component gets; empty: not checked
        const LineEnd plat = platformLineEnd();
        auto row = [](const char *name, const QByteArray &bytes, const char *encoding = "", LineEnd le = platformLineEnd(),
                      const QByteArray &utf8 = {}) { QTest::newRow(name) << bytes << QString(encoding) << le << utf8; };
        row("utf8 no bom", "<p>caf\xC3\xA9</p>\n", "UTF-8", LineEnd::LF, "<p>caf\xC3\xA9</p>\n");
        row("utf8 bom", "\xEF\xBB\xBF<?php echo 1; ?>\r\n", "UTF-8 BOM", LineEnd::CRLF, "<?php echo 1; ?>\r\n");
        row("utf8 bom only", "\xEF\xBB\xBF", "UTF-8 BOM");
        row("utf8 four-byte", "a\xF0\x9F\x98\x80z", "UTF-8");
        row("utf8 E0 A0..BF (U+0800..U+083F)", "\xE0\xA0\x80 \xE0\xA0\xBF", "UTF-8");
        row("utf16le bom", QByteArray("\xFF\xFE" "a\0\xE9\0\r\0\n\0=\xD8\0\xDE", 14), "UTF-16LE", LineEnd::CRLF,
            "a\xC3\xA9\r\n\xF0\x9F\x98\x80");
        row("utf16be bom, U+10000", QByteArray("\xFE\xFF\0a\0\n\xD8\0\xDC\0", 10), "UTF-16BE", LineEnd::LF, "a\n\xF0\x90\x80\x80");
        row("utf16le bom only", "\xFF\xFE", "UTF-16LE");
        row("cp1252 euro and quotes", "\x80 \x93x\x94", "Windows-1252", plat, "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
        row("cp1252 0x81", "a\x81z", "Windows-1252", plat, "a\xC2\x81z");
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        row("cp1252 every byte but NUL", all, "Windows-1252", LineEnd::LF);
        row("bom then invalid utf8", "\xEF\xBB\xBFwei\xDF", "Windows-1252", plat, "\xC3\xAF\xC2\xBB\xC2\xBFwei\xC3\x9F");
        row("overlong utf8", "\xC0\xAF", "Windows-1252");
        row("encoded surrogate", "\xED\xA0\x80", "Windows-1252");
        row("utf8 F4 90 (above U+10FFFF)", "\xF4\x90\x80\x80", "Windows-1252");
        row("truncated utf8 at end", "abc\xE2\x82", "Windows-1252");
        row("cr", "a\rb\r", "UTF-8", LineEnd::CR);
        row("mixed, lf first", "a\nb\r\nc\rd", "UTF-8", LineEnd::LF);
        row("mixed, cr lf first", "a\r\nb\nc", "UTF-8", LineEnd::CRLF);
        row("cr at the very end", "abc\r", "UTF-8", LineEnd::CR);
        row("no final line end", "x\r\ny", "UTF-8", LineEnd::CRLF);
        row("empty", "", "UTF-8");
        row("accented words across 8-byte words", "caf\xC3\xA9 na\xC3\xAFve r\xC3\xA9sum\xC3\xA9 \xC3\x96l\xC3\xA9 tail\n", "UTF-8", LineEnd::LF);
        row("two-byte lead at the very end", "abcdefghij\xC3", "Windows-1252");
        row("two-byte lead before ascii", "abcdefghij\xC3zklmnopq", "Windows-1252");
        row("cp1252 all euro signs", QByteArray(1000, '\x80'), "Windows-1252", plat, QByteArray("\xE2\x82\xAC").repeated(1000));
        row("cp1252 over 2 MB", QByteArray("caf\xE9 \x80 na\xEFve\r\n").repeated(150000), "Windows-1252", LineEnd::CRLF,
            QByteArray("caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve\r\n").repeated(150000));
        row("long ascii run then e-acute", QByteArray(1000, 'a') + "\xE9", "Windows-1252");
        row("nul in ascii", QByteArray("abc\0def", 7));
        row("nul after invalid utf8", QByteArray("\xE9\xE9\0", 3));
        row("nul in first word", QByteArray("\0abcdefghijkl", 13));
        row("nul right after an accented letter", QByteArray("caf\xC3\xA9\0xyzabcdefgh", 16));
        row("nul between 0x01 bytes", QByteArray("ab\x01\0\x01\x01xyzabcdefgh", 17));
        row("png header", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
        row("utf8 bom then nul", QByteArray("\xEF\xBB\xBFx\0", 5));
        row("utf16 without bom", QByteArray("a\0b\0", 4));
        row("utf16le odd length", QByteArray("\xFF\xFE" "a\0b", 5));
        row("utf16le lone high surrogate", QByteArray("\xFF\xFE\x3D\xD8" "a\0", 6));
        row("utf16le high surrogate at end", QByteArray("\xFF\xFE\x3D\xD8", 4));
        row("utf16be lone low surrogate", QByteArray("\xFE\xFF\xDC\x00\0a", 6));
        row("utf16le nul character", QByteArray("\xFF\xFE" "a\0\0\0", 6));
        row("utf32le bom", QByteArray("\xFF\xFE\0\0a\0\0\0", 8));
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes); QFETCH(QString, encoding); QFETCH(LineEnd, lineEnd); QFETCH(QByteArray, utf8);
        const DecodeResult d = decodeText(bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("page.php");
        QVERIFY(writeBytes(path, bytes));
        Document doc;
        doc.setText("kept");
        QCOMPARE(doc.load(path), d.ok);
        if (encoding.isEmpty()) {
            QVERIFY(!d.ok && !d.error.isEmpty() && !doc.lastError().isEmpty());
            QVERIFY(doc.text() == "kept" && doc.isModified() && doc.isUntitled());
            QVERIFY(!streamed(bytes, 4).ok && !streamed(bytes, 7).ok);
            return;
        }
        QVERIFY2(d.ok, qPrintable(d.error));
        QCOMPARE(encodingName(d.format.encoding), encoding);
        QCOMPARE(d.format.lineEnd, lineEnd);
        if (!utf8.isEmpty())
            QCOMPARE(d.utf8, utf8);
        const EncodeResult e = encodeText(d.utf8, d.format);
        QVERIFY2(e.ok, qPrintable(e.error));
        QCOMPARE(e.bytes, bytes);
        QVERIFY(doc.text() == d.utf8 && !doc.isModified() && doc.path() == path);
        if (int ends[2]; bytes.size() < 60'000) { // through a pipe, which can be read only once: the same text
            QVERIFY(::pipe(ends) == 0 && ::write(ends[1], bytes.constData(), size_t(bytes.size())) == bytes.size() && ::close(ends[1]) == 0);
            Document piped;
            QVERIFY(piped.load(QStringLiteral("/proc/self/fd/%1").arg(ends[0])) && piped.text() == d.utf8 && ::close(ends[0]) == 0);
        }
        QVERIFY2(doc.save(path), qPrintable(doc.lastError()));
        QCOMPARE(readBytes(path), bytes);
        QCOMPARE(entries(dir.path()), QStringList{"page.php"});
        for (qsizetype piece : {qsizetype(4), qsizetype(7), qsizetype(1) << 20}) { // pieces cut sequences and CR LF
            const DecodeResult s = streamed(bytes, bytes.size() > 100'000 ? piece * 1000 : piece);
            QVERIFY2(s.ok && s.utf8 == d.utf8 && s.format.encoding == d.format.encoding, qPrintable(s.error));
            QVERIFY(s.format.lineEnd == d.format.lineEnd && s.format.hadLineEnd == d.format.hadLineEnd);
        }
    }

    void unencodable_data()
    {
        // referenced: what "Use character references" makes of it; in UTF-16 the same
        QTest::addColumn<QByteArray>("utf8"), QTest::addColumn<QString>("mentions"), QTest::addColumn<QByteArray>("referenced");
        QTest::newRow("a-macron on line 3") << QByteArray("a\r\nb\r\nx\xC4\x81") << "U+0101" << QByteArray("a\r\nb\r\nx&#257;");
        QTest::newRow("line counted with cr") << QByteArray("a\rb\r\xE2\x82\xB9") << "line 3" << QByteArray("a\rb\r&#8377;");
        QTest::newRow("c1 control without a byte") << QByteArray("\xC2\x80") << "U+0080" << QByteArray("&#128;");
        QTest::newRow("mixed with what fits") << QByteArray("\xE2\x82\xAC \xC3\xA9 \xC4\x81 \xF0\x9F\x98\x80 \xC3\xA9") << "U+0101"
                                              << QByteArray("\xE2\x82\xAC \xC3\xA9 &#257; &#128512; \xC3\xA9");
        QTest::newRow("invalid utf8 into utf16") << QByteArray("ok\n\xFF") << "Line 2" << QByteArray("ok\n\xFF");
    }
    void unencodable()
    {
        QFETCH(QByteArray, utf8); QFETCH(QString, mentions); QFETCH(QByteArray, referenced);
        TextFormat f;
        f.encoding = referenced == utf8 ? TextFormat::Encoding::Utf16LE : TextFormat::Encoding::Windows1252;
        const EncodeResult e = encodeText(utf8, f);
        QVERIFY(!e.ok && e.bytes.isEmpty());
        QVERIFY2(e.error.contains(mentions), qPrintable(e.error));
        const QByteArray escaped = escapeUnencodable(utf8, f.encoding, EscapeStyle::CharacterReference);
        QCOMPARE(escaped, referenced);
        QCOMPARE(escaped.isSharedWith(utf8), referenced == utf8); // nothing to do: no copy
        QCOMPARE(findUnencodable(escaped, f.encoding, EscapeStyle::CharacterReference).count, 0);
    }

    void convertLineEnds_data()
    {
        QTest::addColumn<QByteArray>("text"), QTest::addColumn<LineEnd>("style"), QTest::addColumn<QByteArray>("expected");
        QTest::newRow("mixed to lf") << QByteArray("a\r\nb\rc\nd") << LineEnd::LF << QByteArray("a\nb\nc\nd");
        QTest::newRow("mixed to crlf") << QByteArray("a\r\nb\rc\n") << LineEnd::CRLF << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("lf lf to cr") << QByteArray("\n\n") << LineEnd::CR << QByteArray("\r\r");
        QTest::newRow("cr cr lf is two breaks") << QByteArray("x\r\r\ny") << LineEnd::LF << QByteArray("x\n\ny");
        QTest::newRow("empty") << QByteArray() << LineEnd::LF << QByteArray();
    }
    void convertLineEnds()
    {
        QFETCH(QByteArray, text); QFETCH(LineEnd, style); QFETCH(QByteArray, expected);
        QCOMPARE(kestrin::convertLineEnds(text, style), expected);
    }

    // A file's fingerprint (hashed, as on a network file system) is of the file as it is, so it is
    // not taken for changed by another program until it is: an empty one, read whole, and one found
    // not to be UTF-8 after its first pieces, read again from the start (its text is the second
    // reading alone).
    void fingerprintAfterLoad()
    {
        FileFingerprint::setAlwaysHash(true);
        auto normal = qScopeGuard([] { FileFingerprint::setAlwaysHash(false); });
        QTemporaryDir dir;
        const QString path = dir.filePath("late.php");
        const QByteArray ascii(600 * 1024, 'a');
        for (const QByteArray &bytes : {QByteArray(), ascii + "caf\xE9\r\n"}) {
            Document doc;
            QVERIFY((doc.trackDisk(true), writeBytes(path, bytes)) && doc.load(path));
            QVERIFY(bytes.isEmpty() || (doc.text() == ascii + "caf\xC3\xA9\r\n" && doc.format().encoding == TextFormat::Encoding::Windows1252));
            QVERIFY(!doc.changedOnDisk());
            QVERIFY(writeBytes(path, bytes.isEmpty() ? "x" : ascii + "cafe\r\n"));
            QVERIFY2(doc.changedOnDisk(), bytes.isEmpty() ? "empty" : "long");
        }
    }

    // A missing file fails, and the text stays; the reasons given name what is wrong.
    void missingFileFails()
    {
        QTemporaryDir dir;
        Document doc;
        doc.setText("kept");
        QVERIFY(!doc.load(dir.filePath("x.php")));
        QVERIFY(!doc.lastError().isEmpty());
        QCOMPARE(doc.text(), QByteArray("kept"));
        QVERIFY(!doc.save(dir.filePath("gone/x.php"))); // the missing folder is the reason given
        QCOMPARE(doc.lastError(), QString::fromLocal8Bit(std::strerror(ENOENT)));
        QTranslator german; // why a file cannot be opened, in the user's language
        QVERIFY(german.load(qEnvironmentVariable("KESTRIN_BUILD_DIR") + "/translations/kestrin4_de") && QCoreApplication::installTranslator(&german));
        QVERIFY(writeBytes(dir.filePath("nul.php"), QByteArray("a\0", 2)) && !doc.load(dir.filePath("nul.php")));
        QVERIFY2(doc.lastError().contains("keine Textdatei"), qPrintable(doc.lastError()));
    }

    // The multi-file runs: nothing in place before the batch is committed, and a staged save
    // neither binds the document nor counts as saved.
    void batchSaves()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.php"), b = dir.filePath("b.php");
        QVERIFY(writeBytes(a, "a") && writeBytes(b, "b"));
        Document doc;
        AtomicBatch batch;
        for (const QString &path : {a, b}) {
            QVERIFY(doc.load(path));
            doc.setText(doc.text() + "+");
            QVERIFY(doc.save(path, &batch) && doc.isModified());
        }
        QCOMPARE(readBytes(a) + readBytes(b), QByteArray("ab"));
        QString why;
        QVERIFY2(batch.commit(&why), qPrintable(why));
        QCOMPARE(readBytes(a) + readBytes(b), QByteArray("a+b+"));
        QCOMPARE(entries(dir.path()), (QStringList{"a.php", "b.php"}));
    }
};

KESTRIN_REGISTER_TEST(TestTextFile);

#include "tst_textfile.moc"
