#include "TestRegistry.h"

#include "document/TextFile.h"

#include <QTest>

using namespace kestrin;

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
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<LineEnd>("lineEnd");
        QTest::addColumn<QByteArray>("utf8"); // the text the component gets; empty: not checked

        const LineEnd plat = platformLineEnd();
        QTest::newRow("utf8 no bom") << QByteArray("<p>caf\xC3\xA9</p>\n") << "UTF-8" << LineEnd::LF
                                     << QByteArray("<p>caf\xC3\xA9</p>\n");
        QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF<?php echo 1; ?>\r\n") << "UTF-8 BOM" << LineEnd::CRLF
                                  << QByteArray("<?php echo 1; ?>\r\n");
        QTest::newRow("utf8 bom only") << QByteArray("\xEF\xBB\xBF") << "UTF-8 BOM" << plat << QByteArray();
        QTest::newRow("utf8 four-byte") << QByteArray("a\xF0\x9F\x98\x80z") << "UTF-8" << plat << QByteArray();
        QTest::newRow("utf8 E0 A0..BF (U+0800..U+083F)") << QByteArray("\xE0\xA0\x80 \xE0\xA0\xBF") << "UTF-8" << plat << QByteArray();
        QTest::newRow("utf16le bom") << QByteArray("\xFF\xFE" "a\0\xE9\0\r\0\n\0=\xD8\0\xDE", 14) << "UTF-16LE"
                                     << LineEnd::CRLF << QByteArray("a\xC3\xA9\r\n\xF0\x9F\x98\x80");
        QTest::newRow("utf16be bom") << QByteArray("\xFE\xFF\0a\0\n\0b", 8) << "UTF-16BE" << LineEnd::LF
                                     << QByteArray("a\nb");
        QTest::newRow("utf16le bom only") << QByteArray("\xFF\xFE") << "UTF-16LE" << plat << QByteArray();
        QTest::newRow("cp1252 e-acute") << QByteArray("caf\xE9\r\n") << "Windows-1252" << LineEnd::CRLF
                                        << QByteArray("caf\xC3\xA9\r\n");
        QTest::newRow("cp1252 euro and quotes") << QByteArray("\x80 \x93x\x94") << "Windows-1252" << plat
                                                << QByteArray("\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
        QTest::newRow("cp1252 0x81") << QByteArray("a\x81z") << "Windows-1252" << plat << QByteArray("a\xC2\x81z");
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        QTest::newRow("cp1252 every byte but NUL") << all << "Windows-1252" << LineEnd::LF << QByteArray();
        QTest::newRow("bom then invalid utf8") << QByteArray("\xEF\xBB\xBFwei\xDF") << "Windows-1252" << plat
                                               << QByteArray("\xC3\xAF\xC2\xBB\xC2\xBFwei\xC3\x9F");
        QTest::newRow("overlong utf8") << QByteArray("\xC0\xAF") << "Windows-1252" << plat << QByteArray();
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << "Windows-1252" << plat << QByteArray();
        QTest::newRow("truncated utf8 at end") << QByteArray("abc\xE2\x82") << "Windows-1252" << plat << QByteArray();
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << "UTF-8" << LineEnd::CRLF << QByteArray();
        QTest::newRow("lf") << QByteArray("a\nb\n") << "UTF-8" << LineEnd::LF << QByteArray();
        QTest::newRow("cr") << QByteArray("a\rb\r") << "UTF-8" << LineEnd::CR << QByteArray();
        QTest::newRow("mixed, lf first") << QByteArray("a\nb\r\nc\rd") << "UTF-8" << LineEnd::LF << QByteArray();
        QTest::newRow("mixed, cr lf first") << QByteArray("a\r\nb\nc") << "UTF-8" << LineEnd::CRLF << QByteArray();
        QTest::newRow("cr at the very end") << QByteArray("abc\r") << "UTF-8" << LineEnd::CR << QByteArray();
        QTest::newRow("no final line end") << QByteArray("x\r\ny") << "UTF-8" << LineEnd::CRLF << QByteArray();
        QTest::newRow("no line end") << QByteArray("one line") << "UTF-8" << plat << QByteArray();
        QTest::newRow("empty") << QByteArray() << "UTF-8" << plat << QByteArray();
        QTest::newRow("accented words across 8-byte words") << QByteArray("caf\xC3\xA9 na\xC3\xAFve r\xC3\xA9sum\xC3\xA9 \xC3\x96l\xC3\xA9 tail\n")
                                                            << "UTF-8" << LineEnd::LF << QByteArray();
        QTest::newRow("two-byte lead at the very end") << QByteArray("abcdefghij\xC3") << "Windows-1252" << plat << QByteArray();
        QTest::newRow("two-byte lead before ascii") << QByteArray("abcdefghij\xC3zklmnopq") << "Windows-1252" << plat
                                                    << QByteArray();
        QTest::newRow("cp1252 all euro signs (three bytes each)") << QByteArray(1000, '\x80') << "Windows-1252" << plat
                                                                  << QByteArray("\xE2\x82\xAC").repeated(1000);
        QTest::newRow("cp1252 over 2 MB (counted first)") << QByteArray("caf\xE9 \x80 na\xEFve\r\n").repeated(150000)
                                                          << "Windows-1252" << LineEnd::CRLF
                                                          << QByteArray("caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve\r\n").repeated(150000);
        QTest::newRow("long ascii run then e-acute") << (QByteArray(1000, 'a') + "\xE9") << "Windows-1252" << plat
                                                     << QByteArray();
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(LineEnd, lineEnd);
        QFETCH(QByteArray, utf8);
        const DecodeResult d = decodeText(bytes);
        QVERIFY2(d.ok, qPrintable(d.error));
        QCOMPARE(encodingName(d.format.encoding), encoding);
        QCOMPARE(d.format.lineEnd, lineEnd);
        if (!utf8.isEmpty())
            QCOMPARE(d.utf8, utf8);
        const EncodeResult e = encodeText(d.utf8, d.format);
        QVERIFY2(e.ok, qPrintable(e.error));
        QCOMPARE(e.bytes, bytes);
        for (qsizetype piece : {qsizetype(4), qsizetype(7), qsizetype(1) << 20}) { // pieces cut sequences and CR LF
            const DecodeResult s = streamed(bytes, bytes.size() > 100'000 ? piece * 1000 : piece);
            QVERIFY2(s.ok && s.utf8 == d.utf8 && s.format.encoding == d.format.encoding, qPrintable(s.error));
            QVERIFY(s.format.lineEnd == d.format.lineEnd && s.format.hadLineEnd == d.format.hadLineEnd);
        }
    }

    void notText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("nul in ascii") << QByteArray("abc\0def", 7);
        QTest::newRow("nul after invalid utf8") << QByteArray("\xE9\xE9\0", 3);
        QTest::newRow("nul in first word") << QByteArray("\0abcdefghijkl", 13);
        QTest::newRow("nul right after an accented letter") << QByteArray("caf\xC3\xA9\0xyzabcdefgh", 16);
        QTest::newRow("nul between 0x01 bytes") << QByteArray("ab\x01\0\x01\x01xyzabcdefgh", 17);
        QTest::newRow("png header") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
        QTest::newRow("utf8 bom then nul") << QByteArray("\xEF\xBB\xBFx\0", 5);
        QTest::newRow("utf16 without bom") << QByteArray("a\0b\0", 4);
        QTest::newRow("utf16le odd length") << QByteArray("\xFF\xFE" "a\0b", 5);
        QTest::newRow("utf16le lone high surrogate") << QByteArray("\xFF\xFE\x3D\xD8" "a\0", 6);
        QTest::newRow("utf16le high surrogate at end") << QByteArray("\xFF\xFE\x3D\xD8", 4);
        QTest::newRow("utf16be lone low surrogate") << QByteArray("\xFE\xFF\xDC\x00\0a", 6);
        QTest::newRow("utf16le nul character") << QByteArray("\xFF\xFE" "a\0\0\0", 6);
        QTest::newRow("utf32le bom") << QByteArray("\xFF\xFE\0\0a\0\0\0", 8);
    }
    void notText()
    {
        QFETCH(QByteArray, bytes);
        const DecodeResult d = decodeText(bytes);
        QVERIFY(!d.ok);
        QVERIFY(!d.error.isEmpty());
        QVERIFY(!streamed(bytes, 4).ok && !streamed(bytes, 7).ok);
    }

    void unencodable_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("mentions");
        QTest::addColumn<QByteArray>("referenced"); // what "Use character references" makes of it
        QTest::newRow("a-macron on line 3") << QByteArray("a\r\nb\r\nx\xC4\x81") << "Windows-1252" << "U+0101"
                                            << QByteArray("a\r\nb\r\nx&#257;");
        QTest::newRow("line counted with cr") << QByteArray("a\rb\r\xE2\x82\xB9") << "Windows-1252" << "line 3"
                                              << QByteArray("a\rb\r&#8377;");
        QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80") << "Windows-1252" << "U+1F600" << QByteArray("&#128512;");
        QTest::newRow("c1 control without a byte") << QByteArray("\xC2\x80") << "Windows-1252" << "U+0080"
                                                   << QByteArray("&#128;");
        QTest::newRow("mixed with what fits") << QByteArray("\xE2\x82\xAC \xC3\xA9 \xC4\x81 \xF0\x9F\x98\x80 \xC3\xA9")
                                              << "Windows-1252" << "U+0101" << QByteArray("\xE2\x82\xAC \xC3\xA9 &#257; &#128512; \xC3\xA9");
        QTest::newRow("invalid utf8 into utf16") << QByteArray("ok\n\xFF") << "UTF-16LE" << "Line 2"
                                                 << QByteArray("ok\n\xFF");
    }
    void unencodable()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QString, encoding);
        QFETCH(QString, mentions);
        QFETCH(QByteArray, referenced);
        TextFormat f;
        f.lineEnd = LineEnd::LF;
        f.encoding = encoding == "UTF-16LE" ? TextFormat::Encoding::Utf16LE : TextFormat::Encoding::Windows1252;
        const EncodeResult e = encodeText(utf8, f);
        QVERIFY(!e.ok);
        QVERIFY2(e.error.contains(mentions), qPrintable(e.error));
        QVERIFY(e.bytes.isEmpty());
        const QByteArray escaped = escapeUnencodable(utf8, f.encoding, EscapeStyle::CharacterReference);
        QCOMPARE(escaped, referenced);
        QCOMPARE(escaped.isSharedWith(utf8), referenced == utf8); // nothing to do: no copy
        QCOMPARE(findUnencodable(escaped, f.encoding, EscapeStyle::CharacterReference).count, 0);
    }

    void encodeFromUtf8_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro into cp1252") << QByteArray("\xE2\x82\xAC") << "Windows-1252" << QByteArray("\x80");
        QTest::newRow("y-diaeresis into cp1252") << QByteArray("\xC5\xB8\xC3\xBF") << "Windows-1252"
                                                 << QByteArray("\x9F\xFF");
        QTest::newRow("astral into utf16be") << QByteArray("\xF0\x9F\x98\x80") << "UTF-16BE"
                                             << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6);
    }
    void encodeFromUtf8()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QString, encoding);
        QFETCH(QByteArray, bytes);
        TextFormat f;
        f.lineEnd = LineEnd::LF;
        f.encoding = encoding == "UTF-16BE" ? TextFormat::Encoding::Utf16BE : TextFormat::Encoding::Windows1252;
        const EncodeResult e = encodeText(utf8, f);
        QVERIFY2(e.ok, qPrintable(e.error));
        QCOMPARE(e.bytes, bytes);
    }

    void convertLineEnds_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<LineEnd>("style");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("mixed to lf") << QByteArray("a\r\nb\rc\nd") << LineEnd::LF << QByteArray("a\nb\nc\nd");
        QTest::newRow("mixed to crlf") << QByteArray("a\r\nb\rc\n") << LineEnd::CRLF << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("lf lf to cr") << QByteArray("\n\n") << LineEnd::CR << QByteArray("\r\r");
        QTest::newRow("cr cr lf is two breaks") << QByteArray("x\r\r\ny") << LineEnd::LF << QByteArray("x\n\ny");
        QTest::newRow("none") << QByteArray("plain") << LineEnd::CRLF << QByteArray("plain");
        QTest::newRow("empty") << QByteArray() << LineEnd::LF << QByteArray();
    }
    void convertLineEnds()
    {
        QFETCH(QByteArray, text);
        QFETCH(LineEnd, style);
        QFETCH(QByteArray, expected);
        QCOMPARE(kestrin::convertLineEnds(text, style), expected);
    }
};

KESTRIN_REGISTER_TEST(TestTextFile);

#include "tst_textfile.moc"
