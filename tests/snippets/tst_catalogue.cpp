#include "TestRegistry.h"

#include "snippets/Catalogue.h"

#include <QSet>
#include <QTest>

using namespace kestrin;

Q_DECLARE_METATYPE(kestrin::SnippetGroup)

class TestCatalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void groupSizes_data()
    {
        QTest::addColumn<SnippetGroup>("group");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("page");
        QTest::newRow("HTML") << SnippetGroup::Html << 26 << 0;
        QTest::newRow("PHP") << SnippetGroup::Php << 18 << 1;
        QTest::newRow("WEB HEADER") << SnippetGroup::WebHeader << 2 << 2;
        QTest::newRow("CSS") << SnippetGroup::Css << 80 << 3;
        QTest::newRow("AJAX") << SnippetGroup::Ajax << 1 << 4;
        QTest::newRow("FORM") << SnippetGroup::Form << 7 << 7;
        QTest::newRow("MySQL") << SnippetGroup::MySql << 7 << 8;
        QTest::newRow("TABLE") << SnippetGroup::Table << 5 << 9;
    }
    // Every text list has as many rows as its names (AJAX none), so rows stay aligned.
    void groupSizes()
    {
        QFETCH(SnippetGroup, group);
        QFETCH(int, entries);
        QFETCH(int, page);
        const SnippetGroupData &g = Catalogue::group(group);
        QCOMPARE(g.group, group);
        QCOMPARE(g.page, page);
        QCOMPARE(int(g.names.size()), entries);
        QCOMPARE(int(g.texts.size()), group == SnippetGroup::Ajax ? 0 : entries);
        QCOMPARE(int(g.closings.size()), group == SnippetGroup::Html ? entries : 0);
    }

    // Line breaks are CR LF pairs only; no tab; only the header ends with a break; names are
    // one-line, non-empty and unique within their group.
    void textsAreWellFormed()
    {
        for (SnippetGroup gid : Catalogue::fillOrder()) {
            const SnippetGroupData &g = Catalogue::group(gid);
            QSet<QString> seen;
            for (const QString &name : g.names) {
                QVERIFY(!name.isEmpty());
                QVERIFY2(!name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')), qPrintable(name));
                QVERIFY2(!seen.contains(name), qPrintable(name));
                seen.insert(name);
            }
            QList<QByteArray> all = g.texts;
            all += g.closings;
            for (int row = 0; row < all.size(); ++row) {
                const QByteArray &t = all[row];
                QVERIFY2(!t.contains('\t'), t.constData());
                for (qsizetype i = 0; i < t.size(); ++i) {
                    if (t[i] == '\r')
                        QVERIFY2(i + 1 < t.size() && t[i + 1] == '\n', t.constData());
                    if (t[i] == '\n')
                        QVERIFY2(i > 0 && t[i - 1] == '\r', t.constData());
                }
                const bool isHeader = gid == SnippetGroup::WebHeader && row == 0;
                QVERIFY2(t.endsWith("\r\n") == isHeader, t.constData());
            }
        }
    }

    // Each HTML closing tag closes its opening one; empty openings and entities have none.
    void htmlPairsMatch()
    {
        const SnippetGroupData &html = Catalogue::group(SnippetGroup::Html);
        for (int row = 0; row < html.names.size(); ++row) {
            const QByteArray &open = html.texts[row], &close = html.closings[row];
            QVERIFY2(close.isEmpty() == (open.endsWith("/>") || open.startsWith('&')), open.constData());
            if (!close.isEmpty()) {
                const QByteArray tag = open.mid(1).split(' ').first().split('>').first();
                QCOMPARE(close, "</" + tag + ">");
            }
        }
    }

    // Selectors: name CR LF "{" CR LF CR LF "}"; properties: name + value + ";"; SQL quoted.
    void cssAndSqlTextsFollowTheRules()
    {
        const SnippetGroupData &css = Catalogue::group(SnippetGroup::Css);
        for (int row = 0; row < css.names.size(); ++row) {
            const QByteArray name = css.names[row].toUtf8();
            if (row < 38)
                QCOMPARE(css.texts[row], name + "\r\n{\r\n\r\n}");
            else
                QVERIFY2(name.endsWith(':') && css.texts[row].startsWith(name) && css.texts[row].count(';') == 1
                             && css.texts[row].endsWith(';'), name.constData());
        }
        QCOMPARE(Catalogue::cssSelectorText("p"), QByteArray("p\r\n{\r\n\r\n}"));
        for (const QByteArray &t : Catalogue::group(SnippetGroup::MySql).texts)
            QVERIFY2(t.size() >= 2 && t.startsWith('"') && t.endsWith('"') && t.count('"') == 2, t.constData());
    }
};
KESTRIN_REGISTER_TEST(TestCatalogue);

#include "tst_catalogue.moc"
