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

    void emptyClosingTexts()
    {
        const SnippetGroupData &html = Catalogue::group(SnippetGroup::Html);
        QStringList withoutClosing;
        for (int row = 0; row < html.names.size(); ++row) {
            QVERIFY(!html.texts[row].isEmpty());
            if (html.closings[row].isEmpty())
                withoutClosing << html.names[row];
        }
        QCOMPARE(withoutClosing, (QStringList{"Horizontal line", "Line break", "Copiryght", "Registered"}));
    }

    // Selectors: name CR LF "{" CR LF CR LF "}"; properties: name + value + ";".
    void cssTextsFollowTheRules()
    {
        const SnippetGroupData &css = Catalogue::group(SnippetGroup::Css);
        for (int row = 0; row < 38; ++row) {
            const QByteArray name = css.names[row].toUtf8();
            QVERIFY2(!name.endsWith(':'), name.constData());
            QCOMPARE(css.texts[row], name + "\r\n{\r\n\r\n}");
        }
        for (int row = 38; row < 80; ++row) {
            const QByteArray name = css.names[row].toUtf8();
            QVERIFY2(name.endsWith(':'), name.constData());
            QVERIFY(css.texts[row].startsWith(name));
            QVERIFY(css.texts[row].endsWith(';'));
            QCOMPARE(css.texts[row].count(';'), 1);
        }
        QCOMPARE(css.texts[40], QByteArray("background-image:url(\"../img/sample.gif\");"));
        QCOMPARE(Catalogue::cssSelectorText("p"), QByteArray("p\r\n{\r\n\r\n}"));
        QCOMPARE(Catalogue::cssPropertyText("zoom:", ""), QByteArray("zoom:;"));
    }

    void mySqlTextsAreQuoted()
    {
        const SnippetGroupData &sql = Catalogue::group(SnippetGroup::MySql);
        for (const QByteArray &t : sql.texts) {
            QVERIFY2(t.size() >= 2 && t.startsWith('"') && t.endsWith('"'), t.constData());
            QCOMPARE(t.count('"'), 2);
        }
    }

    void tableNamesAreLiteral()
    {
        const SnippetGroupData &table = Catalogue::group(SnippetGroup::Table);
        QCOMPARE(table.names, (QStringList{"<table>", "<tr>", "<td>", "<td colspan>", "Insert table"}));
    }

    // Texts where a slip is easy: unbalanced quotes kept as designed, the header line by line.
    void exactTexts_data()
    {
        QTest::addColumn<SnippetGroup>("group");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("Mail") << SnippetGroup::Php << QStringLiteral("Mail")
                              << QByteArray("mail(\"To,\"Title,\"Text\",Options\");");
        QTest::newRow("Mysql query") << SnippetGroup::Php << QStringLiteral("Mysql query")
                                     << QByteArray("$query=\"\";\r\n$result=mysql_query($query, $conn) or die "
                                                   "(\"My SQL Error: \" . mysql_error());");
        QTest::newRow("xhtml footer") << SnippetGroup::WebHeader << QStringLiteral("xhtml footer")
                                      << QByteArray("</body>\r\n</html>");
        QTest::newRow("Insert table") << SnippetGroup::Table << QStringLiteral("Insert table")
                                      << QByteArray("<table width='100%'><tr>\r\n<td valign='top'>\r\n\r\n</td></tr></table>");
        QTest::newRow("combobox") << SnippetGroup::Form << QStringLiteral("combobox")
                                  << QByteArray("<select name='sample'>\r\n<option value='1' selected>Sampletext</option>\r\n"
                                                "<option value='2' selected>Sampletext2</option>\r\n</select>");
    }
    void exactTexts()
    {
        QFETCH(SnippetGroup, group);
        QFETCH(QString, name);
        QFETCH(QByteArray, text);
        const SnippetGroupData &g = Catalogue::group(group);
        const int row = int(g.names.indexOf(name));
        QVERIFY(row >= 0);
        QCOMPARE(g.texts[row], text);
    }

    void headerLines()
    {
        const SnippetGroupData &web = Catalogue::group(SnippetGroup::WebHeader);
        QCOMPARE(web.names, (QStringList{"xhtml header", "xhtml footer"}));
        QList<QByteArray> lines = web.texts[0].split('\n');
        QCOMPARE(lines.size(), 13);
        QVERIFY(lines.last().isEmpty()); // ends with a line break
        lines.removeLast();
        for (QByteArray &line : lines) {
            QVERIFY(line.endsWith('\r'));
            line.chop(1);
        }
        QCOMPARE(lines[0], QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\">"));
        QCOMPARE(lines[1], QByteArray("<html xmlns=\"http://www.w3.org/1999/xhtml\">"));
        QCOMPARE(lines[3], QByteArray("<meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\" />"));
        QCOMPARE(lines[7], QByteArray("<link rel=\"stylesheet\" type=\"text/css\" href=\"sample.css\" />"));
        QCOMPARE(lines[9], QByteArray("<link rel=\"shortcut icon\" href=\"sample.ico\" />"));
        QCOMPARE(lines[11], QByteArray("<body>"));
    }

};
KESTRIN_REGISTER_TEST(TestCatalogue);

#include "tst_catalogue.moc"
