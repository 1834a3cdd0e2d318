#include "TestRegistry.h"

#include "textutil/TextTransforms.h"

#include <QTest>

using namespace kestrin;

class TestTextTransforms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stripTags_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("<p>a > b</p>") << QByteArray("<p>a > b</p>") << QByteArray("a  b");
        QTest::newRow("x <b unclosed") << QByteArray("x <b unclosed") << QByteArray("x ");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("> at both ends") << QByteArray(">a>") << QByteArray("a");
        QTest::newRow("<< nested") << QByteArray("a<<b>c>d") << QByteArray("acd");
        QTest::newRow("< at end") << QByteArray("ab<") << QByteArray("ab");
        QTest::newRow("tag only") << QByteArray("<br />") << QByteArray();
        QTest::newRow("comment and script")
            << QByteArray("<!-- x -->a<script>if (1 < 2) b;</script>") << QByteArray("aif (1 ");
        QTest::newRow("line breaks kept") << QByteArray("<p>\r\nline\r\n</p>\n") << QByteArray("\r\nline\r\n\n");
        QTest::newRow("UTF-8 kept") << QByteArray("<b>Caf\xC3\xA9</b> \xE2\x82\xAC") << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC");
        QTest::newRow("entities kept") << QByteArray("&lt;b&gt;") << QByteArray("&lt;b&gt;");
    }
    void stripTags()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(StripTags(input), expected);
    }

    void addressToLink_data()
    {
        QTest::addColumn<QByteArray>("selection");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("<a href='http://abc'>abc</a>");
        QTest::newRow("empty") << QByteArray() << QByteArray("<a href='http://'></a>");
        QTest::newRow("me@example.org") << QByteArray("me@example.org")
                                        << QByteArray("<a href='mailto:me@example.org'>me@example.org</a>");
        QTest::newRow("@ first") << QByteArray("@x") << QByteArray("<a href='mailto:@x'>@x</a>");
        QTest::newRow("@ last") << QByteArray("x@") << QByteArray("<a href='mailto:x@'>x@</a>");
        QTest::newRow("@ beats http") << QByteArray("http://a@b") << QByteArray("<a href='mailto:http://a@b'>http://a@b</a>");
        QTest::newRow("HTTPx") << QByteArray("HTTPx") << QByteArray("<a href='HTTPx'>HTTPx</a>");
        QTest::newRow("Http://site") << QByteArray("Http://site") << QByteArray("<a href='Http://site'>Http://site</a>");
        QTest::newRow("hTtP exactly four") << QByteArray("hTtP") << QByteArray("<a href='hTtP'>hTtP</a>");
        QTest::newRow("htt too short") << QByteArray("htt") << QByteArray("<a href='http://htt'>htt</a>");
        QTest::newRow("ftp://host") << QByteArray("ftp://host") << QByteArray("<a href='http://ftp://host'>ftp://host</a>");
        QTest::newRow("leading space") << QByteArray(" http") << QByteArray("<a href='http:// http'> http</a>");
        QTest::newRow("trailing line break")
            << QByteArray("abc\r\n") << QByteArray("<a href='http://abc\r\n'>abc\r\n</a>");
        QTest::newRow("UTF-8 address") << QByteArray("b\xC3\xBC" "cher.de") << QByteArray("<a href='http://b\xC3\xBC" "cher.de'>b\xC3\xBC" "cher.de</a>");
    }
    void addressToLink()
    {
        QFETCH(QByteArray, selection);
        QFETCH(QByteArray, expected);
        QCOMPARE(AddressToLink(selection), expected);
    }

    // Beyond the old 16-bit position counter the whole selection is still searched.
    void addressToLinkLongSelection_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("atPosition"); // -1: no "@"
        QTest::addColumn<QByteArray>("prefix");
        QTest::newRow("32767 with @ last") << 32767 << 32766 << QByteArray("<a href='mailto:");
        QTest::newRow("70000 with @ at 65536") << 70000 << 65536 << QByteArray("<a href='mailto:");
        QTest::newRow("40000 without @") << 40000 << -1 << QByteArray("<a href='http://");
    }
    void addressToLinkLongSelection()
    {
        QFETCH(int, length);
        QFETCH(int, atPosition);
        QFETCH(QByteArray, prefix);
        QByteArray s(length, 'a');
        if (atPosition >= 0)
            s[atPosition] = '@';
        QCOMPARE(AddressToLink(s), prefix + s + "'>" + s + "</a>");
    }

    void comments_data()
    {
        QTest::addColumn<QByteArray>("selection");
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("php");
        QTest::newRow("empty") << QByteArray() << QByteArray("<!---->") << QByteArray("/**/");
        QTest::newRow("two lines") << QByteArray("a\r\nb\n") << QByteArray("<!--a\r\nb\n-->") << QByteArray("/*a\r\nb\n*/");
    }
    void comments()
    {
        QFETCH(QByteArray, selection);
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, php);
        QCOMPARE(HtmlBlockComment(selection), html);
        QCOMPARE(PhpBlockComment(selection), php);
    }
};
KESTRIN_REGISTER_TEST(TestTextTransforms);

#include "tst_texttransforms.moc"
