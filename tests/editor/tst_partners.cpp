#include "EngineProbe.h"
#include "TestRegistry.h"

#include "editor/component/CodeEdit.h"
#include "editor/component/Partners.h"

#include <QTest>

using namespace kestrin;
using kestrin::test::send;

namespace {

// A page with the caret at '|' and, where Ctrl+E should put it, '^'; the markers are taken out.
struct Page {
    QByteArray text;
    long caret, target;
    explicit Page(const QByteArray &marked) : text(QByteArray(marked).replace('|', "").replace('^', "")),
        caret(marked.indexOf('|')), target(marked.indexOf('^'))
    {
        caret -= target >= 0 && target < caret;
        target -= target > caret;
    }
};

void open(CodeEdit &edit, const QByteArray &text, const QString &suffix)
{
    edit.setLanguage(QStringLiteral("PHP"));
    edit.document()->setPath(QStringLiteral("/nonexistent/page.") + suffix);
    edit.setText(text);
}

} // namespace

class TestPartners : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Ctrl+E from the caret ('|') to the partner ('^': after the partner tag's "<" or "</", or
    // beside the partner brace); a second Ctrl+E comes back into the tag or to the caret it left.
    // "kind" is what the tag at the caret is: pair, none (highlighted alone), empty, - (no tag).
    void partner_data()
    {
        QTest::addColumn<QByteArray>("page"), QTest::addColumn<QString>("kind"), QTest::addColumn<QString>("suffix");
        const QString html = QStringLiteral("html"), php = QStringLiteral("php"), tpl = QStringLiteral("tpl");
        auto row = [](const char *page, const char *kind, const QString &suffix) { QTest::newRow(QByteArray(page).replace('\n', "\\n").constData()) << QByteArray(page) << QString::fromLatin1(kind) << suffix; };
        row("<d|iv><p>x</p></^div>", "pair", html); row("<^div><p>x</p></d|iv>", "pair", html);
        row("|<div>a</^div>", "pair", html); row("<div>|a</^div>", "pair", html);
        row("<d|iv><div>a</div></^div>", "pair", html); row("<D|IV>a</^div>", "pair", html);
        row("<b>|<i>x</^i></b>", "pair", html); row("<my-w|idget>a</^my-widget>", "pair", html);
        row("<b|>a<bb>x</bb></^b>", "pair", html); row("<div><b|r></div>", "empty", html);
        row("<im|g src=\"a.png\">", "empty", html); row("<p|><br><img src=x><hr></^p>", "pair", html);
        row("<svg><pa|th d=\"M0\"/></svg>", "empty", html); row("<s|vg><path/></^svg>", "pair", html);
        row("<^div><!-- <div> --></d|iv>", "pair", html); row("<!-- <d|iv> -->", "-", html);
        row("<s|cript>if (a > b && c < d) x();</^script>", "pair", html);
        row("<d|iv><script>var s = \"</div>\";</script></^div>", "pair", html);
        row("<d|iv><style>p:after { content: \"</div>\"; }</style></^div>", "pair", html);
        row("<a| title=\"a > b\">x</^a>", "pair", html); row("<a| title='</a>'>x</^a>", "pair", html);
        row("<d|iv\n  class=\"x\"\n>\n</^div>", "pair", html); row("<^div>a</d|iv", "pair", html);
        row("<a| href=\"<?php echo $u; ?>\">x</^a>", "pair", php);
        row("<d|iv><?php echo \"</div>\"; ?></^div>", "pair", php); row("<?php echo \"<d|iv>\"; ?>", "-", php);
        row("<u|l><?php if ($a) { ?><li>a</li><?php } ?></^ul>", "pair", php); row("<p|>a<p>b</p>", "none", html);
        row("<p>a<^p>b</p|>", "pair", html); row("<div><p|>a</div>", "none", html);
        row("<d|iv><p>a</^div>", "pair", html); row("<^div><p>a</di|v>", "pair", html);
        row("<ul><l|i>a<li>b</ul>", "none", html); row("<u|l><li>a<li>b</^ul>", "pair", html);
        row("<div>a</s|pan></div>", "none", html); row("<d|iv>abc", "none", html);
        row("<d|iv>{* </div> *}</^div>", "pair", tpl); row("<b|>{\"<b>\"}</^b>", "pair", tpl);
        row("{if $a}<d|iv>{/if}</^div>", "pair", tpl); row("<!DOC|TYPE html>", "-", html);
        row("<d|iv></div>", "-", QStringLiteral("css")); row("|(a)^", "-", html);
        row("(|a^)", "-", html); row("^(a)|", "-", html);
        row("<?php if ($a) {| echo 1; ^} ?>", "-", php); row("<b>a|b</b>", "-", html);
        row("<video><s|ource src=a></video>", "empty", html); row("<div><B|R></div>", "empty", html);
        row("<my-c|ard><my-list>a</^my-card>", "pair", html); row("<a title=\"a > |b\">x</^a>", "pair", html);
        QTest::newRow("partner 70 KB away") << "<d|iv>" + QByteArray("xxxxxxxxx\n").repeated(7000) + "</^div>" << QStringLiteral("pair") << html;
    }
    void partner()
    {
        QFETCH(QByteArray, page); QFETCH(QString, kind); QFETCH(QString, suffix);
        const Page p(page);
        CodeEdit edit;
        open(edit, p.text, suffix);
        auto *partners = edit.findChild<Partners *>();
        const TagMatch m = partners->tagAt(p.caret, true);
        QCOMPARE(QStringList({"-", "empty", "pair", "none", "unknown"}).at(int(m.kind)), kind);
        send(edit, SCI_GOTOPOS, p.caret), QTest::keyClick(edit.editorWidget(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), p.target >= 0 ? p.target : p.caret);
        QCOMPARE(edit.Text(), p.text);
        if (p.target < 0) return;
        QTest::keyClick(edit.editorWidget(), Qt::Key_E, Qt::ControlModifier);
        const long back = send(edit, SCI_GETCURRENTPOS), paired = m.kind == TagMatch::Kind::Paired;
        QCOMPARE(paired ? partners->tagAt(back, true).tag.start : back, paired ? m.tag.start : p.caret);
        // Ctrl+Shift+E: from the caret up to the partner, the partner included.
        send(edit, SCI_GOTOPOS, p.caret), QTest::keyClick(edit.editorWidget(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(send(edit, SCI_GETANCHOR), p.caret);
        const long from = send(edit, SCI_GETSELECTIONSTART), to = send(edit, SCI_GETSELECTIONEND);
        QVERIFY(paired ? from <= m.partner.start && to >= m.partner.end : from <= std::min(p.target, p.caret) && to >= std::max(p.target, p.caret));
        QCOMPARE(edit.Text(), p.text);
    }

    // Once the caret rests in a tag's name, the tag and its partner are boxed; a tag without one in
    // the other colour; nothing for a void tag, nor while the caret is outside the name.
    void highlight_data()
    {
        QTest::addColumn<QByteArray>("page"), QTest::addColumn<QByteArray>("marks"); // per byte: p partner box, n no-partner box, . none
        const auto row = [](const char *name, const char *page, const char *marks) { QTest::newRow(name) << QByteArray(page) << QByteArray(marks); };
        row("pair", "<d|iv><p>x</p></div>", "ppppp........pppppp"), row("alone", "<div><p|>x</div>", ".....nnn.......");
        row("void", "<p><b|r></p>", "..........."), row("attribute", "<a h|ref=x></a>", "..............");
        row("closing", "<div><p>x</p></d|iv>", "ppppp........pppppp");
    }
    void highlight()
    {
        QFETCH(QByteArray, page); QFETCH(QByteArray, marks);
        const Page p(page);
        CodeEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        open(edit, p.text, QStringLiteral("html"));
        send(edit, SCI_GOTOPOS, p.caret);
        QTest::qWait(Partners::SettleMs * 2);
        auto got = [&] {
            QByteArray out;
            for (long i = 0; i < p.text.size(); ++i)
                out += send(edit, SCI_INDICATORVALUEAT, Partners::PartnerIndicator, i) ? 'p'
                     : send(edit, SCI_INDICATORVALUEAT, Partners::NoPartnerIndicator, i) ? 'n' : '.';
            return out;
        };
        QTRY_COMPARE(got(), marks); // a loaded machine may run the timer late
        const QImage shot = edit.editorWidget()->grab().toImage(); // the boxes as painted: white under a pale blue (or red) fill
        int blue = 0, red = 0;
        for (int i = 0; i < shot.width() * shot.height(); ++i) {
            const QRgb c = shot.pixel(i % shot.width(), i / shot.width());
            blue += qBlue(c) == 255 && qRed(c) == qGreen(c) && qRed(c) > 150 && qRed(c) < 235;
            red += qRed(c) == 255 && qBlue(c) == qGreen(c) && qBlue(c) > 150 && qBlue(c) < 235;
        }
        QCOMPARE(blue > 20, marks.contains('p'));
        QCOMPARE(red > 20, marks.contains('n'));
        send(edit, SCI_GOTOPOS, 0); // away from the name: the boxes go
        QTRY_COMPARE(got(), QByteArray(p.text.size(), '.'));
    }

    // "</" typed after a page offers the innermost open element, selected; Tab or Return writes it
    // and ">" as one undo step. Typed straight through, "</b>" stays exactly as typed.
    void closingTag_data()
    {
        QTest::addColumn<QByteArray>("page"), QTest::addColumn<QByteArray>("offered"), QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("accept");
        int n = 0;
        auto row = [&n](const char *page, const char *offered, const char *suffix = "html") {
            QTest::newRow(page) << QByteArray(page) << QByteArray(offered) << QString::fromLatin1(suffix) << (++n % 2 ? int(Qt::Key_Return) : int(Qt::Key_Tab));
        };
        row("<div>text", "div"); row("<div><p>a", "p");
        row("<div><p>a</p>", "div"); row("<ul><li>a", "li");
        row("<div><br>", "div"); row("<div><!-- <p> -->", "div");
        row("<div>{* <p> *}", "div", "tpl"); row("<a href=\"<?php echo $u; ?>\">x", "a", "php");
        row("<div><!-- ", ""); row("<div><?php echo 1; ", "", "php");
        row("<div><script>var a = 1;", ""); row("<div><style>p { color: red; }", "");
        row("<div>", "", "css");
    }
    void closingTag()
    {
        QFETCH(QByteArray, page); QFETCH(QByteArray, offered); QFETCH(QString, suffix); QFETCH(int, accept);
        CodeEdit edit;
        open(edit, page, suffix);
        send(edit, SCI_DOCUMENTEND), QTest::keyClicks(edit.editorWidget(), "</");
        QCOMPARE(send(edit, SCI_AUTOCACTIVE) != 0, !offered.isEmpty());
        QTest::keyClick(edit.editorWidget(), Qt::Key(accept));
        if (!offered.isEmpty()) {
            QCOMPARE(edit.Text(), page + "</" + offered + ">");
            QCOMPARE(send(edit, SCI_GETCURRENTPOS), long(edit.length()));
            edit.Undo();
            QCOMPARE(edit.Text(), page + "</");
        }
        edit.setText(page);
        send(edit, SCI_DOCUMENTEND), QTest::keyClicks(edit.editorWidget(), "</");
        QTest::keyClick(edit.editorWidget(), Qt::Key_Left); // moves the caret, not the list
        QCOMPARE(send(edit, SCI_GETCURRENTPOS), long(edit.length()) - 1);
        QTest::keyClick(edit.editorWidget(), Qt::Key_Right), QTest::keyClicks(edit.editorWidget(), "b>");
        QCOMPARE(edit.Text(), page + "</b>");
    }
};
KESTRIN_REGISTER_TEST(TestPartners);

#include "tst_partners.moc"
