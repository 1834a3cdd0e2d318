#include "FileBytes.h"
#include "TestRegistry.h"

#include "common/Twips.h"
#include "editor/PanelEdits.h"
#include "editor/component/CodeEdit.h"
#include "snippets/AjaxSample.h"
#include "snippets/Catalogue.h"
#include "snippets/SidePanel.h"
#include "snippets/WrapButton.h"

#include <ScintillaEditBase.h>

#include <QtTest>
#include <QtWidgets>

#include <map>
#include <memory>

using namespace kestrin;
using kestrin::test::writeBytes;

namespace {

// A program folder whose sample is given bytes, absent (null), a folder, not UTF-8, or there but
// unreadable: chmod 000, or for root (who reads through that) a link to /proc/self/mem, whose
// first page is never mapped. False when the state cannot be made here.
bool makeSample(const QTemporaryDir &dir, const QByteArray &state)
{
    const QString path = QDir(dir.path()).filePath(QString::fromLatin1(AjaxSampleFileName));
    const auto readable = [&path] { QFile f(path); char c; return f.open(QIODevice::ReadOnly) && f.read(&c, 1) >= 0; };
    if (state.isNull()) return true;
    if (state == "<folder>") return QDir().mkpath(path);
    if (state != "<unreadable>") return writeBytes(path, state == "<latin1>" ? QByteArray("caf\xE9") : state);
    if (!writeBytes(path, "secret\r\n")) return false;
    QFile::setPermissions(path, {});
    if (!readable()) return true;
    QFile::remove(path);
    return QFile::link(QStringLiteral("/proc/self/mem"), path) && !readable();
}

} // namespace

// The editor window's arrangement of the panel and the editor, without the rest of the window.
class TestSidePanel : public QObject {
    Q_OBJECT
    struct Bench {
        QWidget window;
        CodeEdit *rc = new CodeEdit(&window);
        SidePanel *panel = new SidePanel(&window);
        PanelEdits edits{panel, rc};
        QTemporaryDir folder;
    };
    std::unique_ptr<Bench> b;
    std::unique_ptr<QSignalSpy> finished;

    // Loads a file so the document takes that file's line-end style, then sets text and selection.
    void setDocument(const QByteArray &lineBreak, const QByteArray &text, int start, int end)
    {
        const QString path = b->folder.filePath(QStringLiteral("style.html"));
        QVERIFY(writeBytes(path, "x" + lineBreak + "y") && b->rc->LoadFile(path) && b->rc->document()->lineBreak() == lineBreak);
        b->rc->setText("start");
        b->rc->setText(text);
        static_cast<ScintillaEditBase *>(b->rc->editorWidget())->send(SCI_SETSEL, start, end);
    }

private Q_SLOTS:
    // The catalogue: rows aligned with names; CR LF the only line break; no tab; only the header
    // ends with a break; each HTML closing closes its opening; each group on a page of its own.
    void catalogueInvariants()
    {
        QSet<int> pages;
        for (SnippetGroup gid : Catalogue::fillOrder()) {
            const SnippetGroupData &g = Catalogue::group(gid);
            pages.insert(g.page);
            QCOMPARE(QSet<QString>(g.names.cbegin(), g.names.cend()).size(), g.names.size());
            QCOMPARE(g.texts.size(), gid == SnippetGroup::Ajax ? 0 : g.names.size());
            QCOMPARE(g.closings.size(), gid == SnippetGroup::Html ? g.names.size() : 0);
            for (int row = 0; row < g.texts.size(); ++row) {
                const QByteArray &t = g.texts[row];
                QVERIFY2(!t.contains('\t') && t.count('\n') == t.count("\r\n") && t.count('\r') == t.count("\r\n"), t);
                QVERIFY2(t.endsWith("\r\n") == (gid == SnippetGroup::WebHeader && row == 0), t);
                if (gid == SnippetGroup::Html && !t.endsWith("/>") && !t.startsWith('&'))
                    QCOMPARE(g.closings[row], "</" + t.mid(1).split(' ').first().split('>').first() + ">");
                else if (gid == SnippetGroup::Html)
                    QVERIFY2(g.closings[row].isEmpty(), t);
            }
        }
        QCOMPARE(pages.size(), 8);
        QCOMPARE(Catalogue::cssSelectorText("p"), QByteArray("p\r\n{\r\n\r\n}"));
    }

    void init()
    {
        b = std::make_unique<Bench>();
        b->panel->setGeometry(0, 0, twipsToPixels(SidePanel::UnfoldedWidth), 481); // the design's height
        b->rc->setGeometry(b->panel->width() + 3, 0, 460, 481);
        b->window.resize(b->panel->width() + 470, 481);
        b->panel->setProgramFolder(b->folder.path()), b->panel->BuildCatalogue();
        b->window.show(), b->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b->window));
        finished = std::make_unique<QSignalSpy>(&b->edits, &PanelEdits::insertionFinished);
    }
    void cleanup() { finished.reset(), b.reset(); }

    // Every control inserts through its own handler: "L<n> <entry>" picks a list row, "C6 <n>" a
    // character button, "Command<n>" a command button. The selection is [selStart, selEnd); the
    // AJAX rows put the sample's state in the program folder first.
    void route_data()
    {
        QTest::addColumn<QByteArray>("lineBreak"), QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("selStart"), QTest::addColumn<int>("selEnd"), QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("expected"), QTest::addColumn<QByteArray>("afterUndo"); // afterUndo null: not checked
        const QByteArray lf("\n"), none;
        const auto row = [](const QString &control, const QByteArray &document, int selStart, int selEnd,
                            const QByteArray &expected, const QByteArray &afterUndo = {}, const QByteArray &lineBreak = "\r\n") {
            QTest::addRow("%s over %s", qPrintable(control), document.left(20).constData())
                << lineBreak << document << selStart << selEnd << control << expected << afterUndo;
        };
        row("L1 Bold", "a word b", 2, 6, "a <b>word</b> b"), row("L1 Horizontal line", "abc", 0, 3, "<hr />abc");
        row("L1 Center", "a\nb", 0, 3, "<center>a\nb</center>"); // a lone LF kept
        row("L2 Mail", "[sel]", 1, 4, "[mail(\"To,\"Title,\"Text\",Options\");]");
        row("L3 xhtml footer", "[sel]", 1, 4, "[</body>\n</html>]", none, lf), row("L4 body", "[sel]", 1, 4, "[body\r\n{\r\n\r\n}]");
        row("L8 submit", "", 0, 0, "<input type='submit' value='OK' name='s_but' />");
        row("L9 delete", "", 0, 0, "\"delete from Table where row='any'\""), row("L10 <tr>", "", 0, 0, "<tr>");
        row("L5 missing", "<sel>", 0, 5, "Sample missing"), row("L5 a LF b", "<sel>", 0, 5, "a\r\nb\r\n");
        row("L5 one CR LF two", "<sel>", 0, 5, "one\ntwo\n", none, lf), row("L5 <folder>", "<sel>", 0, 5, "Sample missing");
        row("L5 <latin1>", "<sel>", 0, 5, "caf\xC3\xA9\r\n"); // not UTF-8: Windows-1252, as documents
        row("L5 a CR", "<sel>", 0, 5, "a\r\n"); // its last line ended already
        row("L5 <unreadable>", "keep me", 0, 4, "keep me");
        row("C6 0", "x<sel>y", 1, 6, "x&#225;y"), row("C6 5", "x<sel>y", 1, 6, "x&#38;y");
        // Button 40 rewrites the whole document in one undo step; no change leaves no empty step.
        row("C6 40", "Café Ölé", 0, 1, "Caf&#233; &#214;l&#233;", "Café Ölé");
        row("C6 40", "ã ß & &#233;", 0, 1, "ã ß & &#233;", "start");
        const QByteArray longText = QByteArray("Café Ölé Café Ölé Café Ölé\n").repeated(100'000); // block by block
        row("C6 40", longText, 0, 1, QByteArray(longText).replace("é", "&#233;").replace("Ö", "&#214;"), longText);
        row("Command1", "me@host", 0, 7, "<a href='mailto:me@host'>me@host</a>");
        row("Command2", "<p>a > b</p>", 0, 1, "a  b", "<p>a > b</p>"), row("Command2", "plain", 0, 1, "plain", "start");
        row("Command4", "a\r\nb", 0, 4, "<!--a\r\nb-->"), row("Command5", "a\r\nb", 0, 4, "/*a\r\nb*/");
    }
    void route()
    {
        QFETCH(QByteArray, lineBreak); QFETCH(QByteArray, document); QFETCH(int, selStart); QFETCH(int, selEnd);
        QFETCH(QString, control); QFETCH(QByteArray, expected); QFETCH(QByteArray, afterUndo);
        setDocument(lineBreak, document, selStart, selEnd);
        const QString name = control.section(QLatin1Char(' '), 0, 0), arg = control.section(QLatin1Char(' '), 1);
        SidePanel *p = b->panel;
        if (name == "L5") {
            if (!makeSample(b->folder, arg == "missing" ? QByteArray() : arg.toUtf8().replace(" CR LF ", "\r\n").replace(" LF ", "\n").replace(" CR", "\r")))
                QSKIP("no way to make a file unreadable here");
            p->L5_Click();
        } else if (name == "C6") {
            p->setCurrentPage(5), QTest::mouseClick(p->C6[size_t(arg.toInt())], Qt::LeftButton);
        } else if (name.startsWith('L')) {
            auto *list = p->findChild<QListWidget *>(name);
            const auto found = list ? list->findItems(arg, Qt::MatchExactly) : QList<QListWidgetItem *>();
            QVERIFY2(!found.isEmpty(), qPrintable(control));
            list->setCurrentItem(found.first());
            const std::map<QString, void (SidePanel::*)()> handlers{
                {"L1", &SidePanel::L1_Click}, {"L2", &SidePanel::L2_Click}, {"L3", &SidePanel::L3_Click}, {"L4", &SidePanel::L4_Click},
                {"L8", &SidePanel::L8_Click}, {"L9", &SidePanel::L9_Click}, {"L10", &SidePanel::L10_Click}};
            (p->*handlers.at(name))();
        } else {
            p->findChild<QPushButton *>(name)->click();
        }
        QCOMPARE(b->rc->Text(), expected);
        const bool inserted = !arg.contains("unreadable");
        QCOMPARE(finished->count(), inserted ? 1 : 0);
        QVERIFY(!inserted || QApplication::focusWidget() == b->rc->editorWidget());
        if (!afterUndo.isNull()) {
            b->rc->Undo();
            QCOMPARE(b->rc->Text(), afterUndo);
        }
        if (name == "L5" && arg.contains(' ')) { // read at every click
            QVERIFY(makeSample(b->folder, "next"));
            p->L5_Click();
            QVERIFY(b->rc->Text().endsWith("next" + lineBreak));
        }
    }

    // A row picked with the keyboard inserts once; a mouse click once, and again on the same row.
    void keyboardAndMouseClicks()
    {
        setDocument("\r\n", "", 0, 0);
        b->panel->setCurrentPage(9);
        QListWidget *list = b->panel->L10;
        list->setFocus(), QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(b->rc->Text(), QByteArray("<table width='100%' bgcolor='#' cellspacing='' cellpadding=''>"));
        b->rc->setText("");
        const QPoint row = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row), QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(b->rc->Text(), QByteArray("<tr><tr>"));
        QCOMPARE(finished->count(), 3);
    }

    // The tool-window and fold buttons are usable only while the window listens to them.
    void signalButtons()
    {
        QPushButton *buttons[] = {b->panel->Command6, b->panel->Command7, b->panel->Command8};
        for (QPushButton *button : buttons) QVERIFY(!button->isEnabled());
        QSignalSpy colour(b->panel, &SidePanel::Command6Clicked), replace(b->panel, &SidePanel::Command7Clicked),
            fold(b->panel, &SidePanel::Command8Clicked);
        for (QPushButton *button : buttons) button->click();
        QCOMPARE(colour.count() + replace.count() * 10 + fold.count() * 100, 111);
        QCOMPARE(finished->count(), 0);
    }

    // In every language the tabs fit the folded width and all show at the window's minimum height, and
    // every snippet name and button caption fits whole; the fold button shows on the first page only;
    // a short panel scrolls to button 40; every control is named.
    void layout_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"en", "de", "es"}) QTest::newRow(language) << QString::fromLatin1(language);
    }
    void layout()
    {
        QFETCH(QString, language);
        QTranslator translator; // taken out again when it goes
        if (language != "en") { // the panel again, built in the language
            QVERIFY(translator.load(qEnvironmentVariable("KESTRIN_BUILD_DIR") + "/translations/kestrin4_" + language)
                    && QCoreApplication::installTranslator(&translator));
            cleanup(), init();
        }
        SidePanel *p = b->panel;
        for (int page = 0; page < SidePanelLayout::PageCount; ++page) {
            p->setCurrentPage(page); // not CSS: the properties' own names, some wider than the list, never translated
            for (QListWidget *list : p->findChildren<QListWidget *>())
                for (int row = 0; list->isVisible() && p->pageCaption(page) != "CSS" && row < list->count(); ++row)
                    QVERIFY2(list->fontMetrics().horizontalAdvance(list->item(row)->text()) <= list->viewport()->width() - 4,
                             qPrintable(list->item(row)->text())); // 2-pixel margins as painted
        }
        p->setCurrentPage(0);
        for (WrapButton *button : p->findChildren<WrapButton *>()) {
            const QRect area = button->rect().adjusted(3, 2, -3, -2); // inside the bevel
            QVERIFY2(area.contains(button->fontMetrics().boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, button->text())),
                     qPrintable(button->text()));
        }
        auto *tabs = p->findChild<QTabBar *>();
        QVERIFY(tabs->geometry().right() < twipsToPixels(SidePanel::FoldedWidth));
        QVERIFY(tabs->geometry().top() >= p->Command8->geometry().bottom());
        QVERIFY2(tabs->tabRect(9).bottom() < tabs->height(), qPrintable(QString::number(tabs->tabRect(9).bottom())));
        QVERIFY(p->Command8->isVisible());
        p->setCurrentPage(3);
        QVERIFY(!p->Command8->isVisible());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QVERIFY(p->currentPage() == 0 && p->Command8->isVisible());

        p->resize(p->width(), 300), p->setCurrentPage(5);
        QPushButton *last = p->C6[40];
        auto *scroll = qobject_cast<QScrollArea *>(last->parentWidget()->parentWidget()->parentWidget());
        QVERIFY(scroll && scroll->verticalScrollBar()->maximum() > 0);
        scroll->ensureWidgetVisible(last);
        QVERIFY(p->rect().contains(QRect(last->mapTo(p, QPoint(0, 0)), last->size())));

        for (QAbstractButton *button : p->findChildren<QAbstractButton *>())
            QVERIFY2(!button->accessibleName().isEmpty() || !button->text().isEmpty() || button->parentWidget() == tabs,
                     qPrintable(button->objectName()));
        for (QListWidget *list : p->findChildren<QListWidget *>()) QVERIFY(!list->accessibleName().isEmpty());
    }
};
KESTRIN_REGISTER_TEST(TestSidePanel);

#include "tst_snippets.moc"
