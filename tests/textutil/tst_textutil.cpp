#include "TestRegistry.h"

#include "textutil/CharacterReferences.h"
#include "textutil/TextTransforms.h"

#include <QTest>

using namespace kestrin;

// The fuzz targets hold the general properties; these rows are the cases named in the design
// and the edges the corpora need not reach.
class TestTextUtil : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void transform_data()
    {
        QTest::addColumn<QByteArray>("input"), QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *fn, const QByteArray &in, const QByteArray &out) {
            QTest::addRow("%s %s", fn, in.left(24).constData()) << in << out;
        };
        row("strip", "<p>a > b</p>", "a  b"), row("strip", ">a>", "a"), row("strip", "ab<", "ab");
        row("link", "abc", "<a href='http://abc'>abc</a>");
        row("link", "me@example.org", "<a href='mailto:me@example.org'>me@example.org</a>"), row("link", "hTtP", "<a href='hTtP'>hTtP</a>");
        QByteArray far(70000, 'a');
        far[65536] = '@'; // beyond a 16-bit position counter
        row("link", far, "<a href='mailto:" + far + "'>" + far + "</a>");
        row("comment", "a\r\nb", "<!--a\r\nb-->"), row("special", "Café Ölé", "Caf&#233; &#214;l&#233;");
        row("special", "ã ß & &#233; € Ω日本", "ã ß & &#233; € Ω日本");
        row("special", "a\xC3", "a\xC3"), row("special", "\xC3" "a é", "\xC3" "a &#233;");
    }
    void transform()
    {
        QFETCH(QByteArray, input); QFETCH(QByteArray, expected);
        const QByteArray fn = QByteArray(QTest::currentDataTag()).split(' ').first();
        const QByteArray got = fn == "strip" ? StripTags(input) : fn == "link" ? AddressToLink(input)
                             : fn == "comment" ? HtmlBlockComment(input) : ReplaceSpecialCharacters(input);
        QCOMPARE(got, expected);
        if (fn == "special") QCOMPARE(SpecialCharactersGrowth(input), expected.size() - input.size());
    }

    // No two buttons share a cell, all lie on the page, and button 40 sits below the lowest row.
    void characterGrid()
    {
        const QRect replaceButton = characterButtonTwips(40);
        for (int i = 0; i < 40; ++i) {
            const QRect r = characterButtonTwips(i);
            QVERIFY(r.top() >= 240 && r.bottom() < replaceButton.top());
            for (int j = 0; j < i; ++j)
                QVERIFY2(!r.intersects(characterButtonTwips(j)), qPrintable(QStringLiteral("%1 and %2").arg(i).arg(j)));
        }
    }
};
KESTRIN_REGISTER_TEST(TestTextUtil);

#include "tst_textutil.moc"
