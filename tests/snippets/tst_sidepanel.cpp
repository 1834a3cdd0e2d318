#include "TestRegistry.h"

#include "SampleFolder.h"
#include "common/Twips.h"
#include "editor/component/CodeEdit.h"
#include "snippets/Catalogue.h"
#include "snippets/SidePanel.h"

#include <Qsci/qsciscintillabase.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace kestrin;
using kestrin::test::SampleFolder;

namespace {

constexpr int PanelHeightPx = 481; // the window's design client height less toolbar and status bar

// The editor window's arrangement of the two widgets, without the rest of the window.
struct Bench {
    QWidget window;
    CodeEdit *rc = nullptr;
    SidePanel *panel = nullptr;
    SampleFolder folder;

    Bench()
    {
        rc = new CodeEdit(&window);
        panel = new SidePanel(rc, &window);
        panel->setGeometry(0, 0, twipsToPixels(SidePanel::UnfoldedWidth), PanelHeightPx);
        rc->setGeometry(panel->width() + 3, 0, 460, PanelHeightPx);
        window.resize(panel->width() + 470, PanelHeightPx);
        panel->setProgramFolder(folder.path());
        panel->BuildCatalogue();
        window.show();
    }

    QsciScintillaBase *sci() const { return static_cast<QsciScintillaBase *>(rc->editorWidget()); }

    // Loads a file so the document takes that file's line-end style, then sets the text.
    bool useLineEnds(const QByteArray &lineBreak)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("style.html"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write("x" + lineBreak + "y") < 0)
            return false;
        f.close();
        return rc->LoadFile(path) && rc->lineBreak() == lineBreak;
    }

    // The document text with the byte range [start, end) selected.
    void setDocument(const QByteArray &text, int start = -1, int end = -1)
    {
        rc->setText(text);
        if (start < 0)
            start = end = int(text.size());
        sci()->SendScintilla(QsciScintillaBase::SCI_SETSEL, start, end);
    }
};

int rowOf(QListWidget *list, const QString &name)
{
    const auto found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? -1 : list->row(found.first());
}

bool focusInEditor(const Bench &b)
{
    return QApplication::focusWidget() == b.rc->editorWidget();
}

} // namespace

class TestSidePanel : public QObject {
    Q_OBJECT

    std::unique_ptr<Bench> b;
    std::unique_ptr<QSignalSpy> finished;

    void pick(QListWidget *list, const QString &name)
    {
        const int row = rowOf(list, name);
        QVERIFY2(row >= 0, qPrintable(name));
        list->setCurrentRow(row);
    }
    // The finishing steps ran once: focus in the editor and the window told to mark the document.
    void checkFinished(int times = 1)
    {
        QCOMPARE(finished->count(), times);
        QVERIFY(focusInEditor(*b));
    }

private Q_SLOTS:
    void init()
    {
        b = std::make_unique<Bench>();
        QVERIFY(QTest::qWaitForWindowExposed(&b->window));
        b->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b->window));
        finished = std::make_unique<QSignalSpy>(b->panel, &SidePanel::insertionFinished);
    }
    void cleanup()
    {
        finished.reset();
        b.reset();
    }

    void catalogueShown()
    {
        const std::pair<QListWidget *, SnippetGroup> lists[] = {
            {b->panel->L1, SnippetGroup::Html}, {b->panel->L2, SnippetGroup::Php}, {b->panel->L3, SnippetGroup::WebHeader},
            {b->panel->L4, SnippetGroup::Css},  {b->panel->L5, SnippetGroup::Ajax}, {b->panel->L8, SnippetGroup::Form},
            {b->panel->L9, SnippetGroup::MySql}, {b->panel->L10, SnippetGroup::Table}};
        for (auto [list, group] : lists) {
            QCOMPARE(list->count(), int(Catalogue::group(group).names.size()));
            QVERIFY(list->selectedItems().isEmpty());
        }
        auto *tabs = b->panel->findChild<QTabBar *>();
        QCOMPARE(tabs->count(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(tabs->tabText(i), b->panel->pageCaption(i));
    }

    // Every control inserts through its own handler: "L<n> <entry>" picks a list row, "C6 <n>" a
    // character button, "Command<n>" a command button. The selection is [selStart, selEnd).
    void route_data()
    {
        QTest::addColumn<QByteArray>("lineBreak");
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selEnd");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QByteArray>("afterUndo"); // null: not checked
        const QByteArray crlf("\r\n"), none;
        QTest::newRow("L1 Bold around a word") << crlf << QByteArray("a word b") << 2 << 6 << "L1 Bold" << QByteArray("a <b>word</b> b") << none;
        QTest::newRow("L1 Horizontal line") << crlf << QByteArray("abc") << 0 << 3 << "L1 Horizontal line" << QByteArray("<hr />abc") << none;
        QTest::newRow("L1 Center, lone LF kept")
            << crlf << QByteArray("a\nb") << 0 << 3 << "L1 Center" << QByteArray("<center>a\nb</center>") << none;
        QTest::newRow("L2 Mail") << crlf << QByteArray("[sel]") << 1 << 4 << "L2 Mail" << QByteArray("[mail(\"To,\"Title,\"Text\",Options\");]") << none;
        QTest::newRow("L3 footer, LF document")
            << QByteArray("\n") << QByteArray("[sel]") << 1 << 4 << "L3 xhtml footer" << QByteArray("[</body>\n</html>]") << none;
        QTest::newRow("L4 body") << crlf << QByteArray("[sel]") << 1 << 4 << "L4 body" << QByteArray("[body\r\n{\r\n\r\n}]") << none;
        QTest::newRow("L8 submit") << crlf << QByteArray() << 0 << 0 << "L8 submit" << QByteArray("<input type='submit' value='OK' name='s_but' />") << none;
        QTest::newRow("L9 delete") << crlf << QByteArray() << 0 << 0 << "L9 delete" << QByteArray("\"delete from Table where row='any'\"") << none;
        QTest::newRow("L10 <tr>") << crlf << QByteArray() << 0 << 0 << "L10 <tr>" << QByteArray("<tr>") << none;
        QTest::newRow("C6 0 a acute") << crlf << QByteArray("x<sel>y") << 1 << 6 << "C6 0" << QByteArray("x&#225;y") << none;
        QTest::newRow("C6 5 AND") << crlf << QByteArray("x<sel>y") << 1 << 6 << "C6 5" << QByteArray("x&#38;y") << none;
        // Button 40 rewrites the whole document in one undo step; no change leaves no empty step.
        QTest::newRow("C6 40 Cafe Ole") << crlf << QByteArray("Café Ölé") << 0 << 1 << "C6 40"
                                        << QByteArray("Caf&#233; &#214;l&#233;") << QByteArray("Café Ölé");
        QTest::newRow("C6 40 nothing to replace")
            << crlf << QByteArray("ã ß & &#233;") << 0 << 1 << "C6 40" << QByteArray("ã ß & &#233;") << QByteArray("start");
        // Larger documents are rewritten a block at a time.
        const QByteArray longText = QByteArray("Café Ölé Café Ölé Café Ölé\n").repeated(100'000);
        QTest::newRow("C6 40 3.6 MB") << crlf << longText << 0 << 1 << "C6 40"
                                      << QByteArray(longText).replace("é", "&#233;").replace("Ö", "&#214;") << longText;
        QTest::newRow("Command1 me@host") << crlf << QByteArray("me@host") << 0 << 7 << "Command1"
                                          << QByteArray("<a href='mailto:me@host'>me@host</a>") << none;
        QTest::newRow("Command2 <p>a > b</p>") << crlf << QByteArray("<p>a > b</p>") << 0 << 1 << "Command2"
                                               << QByteArray("a  b") << QByteArray("<p>a > b</p>");
        QTest::newRow("Command2 no tags") << crlf << QByteArray("plain") << 0 << 1 << "Command2" << QByteArray("plain") << QByteArray("start");
        QTest::newRow("Command4 two lines") << crlf << QByteArray("a\r\nb") << 0 << 4 << "Command4" << QByteArray("<!--a\r\nb-->") << none;
        QTest::newRow("Command5 two lines") << crlf << QByteArray("a\r\nb") << 0 << 4 << "Command5" << QByteArray("/*a\r\nb*/") << none;
    }
    void route()
    {
        QFETCH(QByteArray, lineBreak);
        QFETCH(QByteArray, document);
        QFETCH(int, selStart);
        QFETCH(int, selEnd);
        QFETCH(QString, control);
        QFETCH(QByteArray, expected);
        QFETCH(QByteArray, afterUndo);
        QVERIFY(b->useLineEnds(lineBreak));
        b->setDocument("start");
        b->setDocument(document, selStart, selEnd);
        const QString name = control.section(QLatin1Char(' '), 0, 0), arg = control.section(QLatin1Char(' '), 1);
        SidePanel *p = b->panel;
        const std::map<QString, std::pair<QListWidget *, void (SidePanel::*)()>> lists = {
            {"L1", {p->L1, &SidePanel::L1_Click}}, {"L2", {p->L2, &SidePanel::L2_Click}}, {"L3", {p->L3, &SidePanel::L3_Click}},
            {"L4", {p->L4, &SidePanel::L4_Click}}, {"L8", {p->L8, &SidePanel::L8_Click}}, {"L9", {p->L9, &SidePanel::L9_Click}},
            {"L10", {p->L10, &SidePanel::L10_Click}}};
        const std::map<QString, QPushButton *> commands = {
            {"Command1", p->Command1}, {"Command2", p->Command2}, {"Command4", p->Command4}, {"Command5", p->Command5}};
        if (lists.count(name)) {
            pick(lists.at(name).first, arg);
            (p->*lists.at(name).second)();
        } else if (name == QLatin1String("C6")) {
            p->setCurrentPage(5);
            QTest::mouseClick(p->C6[size_t(arg.toInt())], Qt::LeftButton);
        } else {
            commands.at(name)->click();
        }
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
        if (!afterUndo.isNull()) {
            b->rc->Undo();
            QCOMPARE(b->rc->Text(), afterUndo);
        }
    }

    void ajax_data()
    {
        QTest::addColumn<QString>("lineBreak");
        QTest::addColumn<QByteArray>("file"); // null: no sample file
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("missing") << "\r\n" << QByteArray() << QByteArray("Sample missing");
        QTest::newRow("lone LF in the document's line ends") << "\r\n" << QByteArray("a\nb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("present, LF document") << "\n" << QByteArray("one\r\ntwo") << QByteArray("one\ntwo\n");
    }
    void ajax()
    {
        QFETCH(QString, lineBreak);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        QVERIFY(b->useLineEnds(lineBreak.toLatin1()));
        if (!file.isNull())
            QVERIFY(b->folder.writeSample(file));
        b->setDocument("<sel>", 0, 5);
        b->panel->L5_Click();
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
        // Read at every click: a changed file gives the new text.
        if (!file.isNull()) {
            QVERIFY(b->folder.writeSample("next"));
            b->panel->L5_Click();
            QVERIFY(b->rc->Text().endsWith("next" + lineBreak.toLatin1()));
        }
    }

    void ajaxUnreadableLeavesDocument()
    {
        const QString how = b->folder.makeSampleUnreadable();
        if (how.isEmpty())
            QSKIP("no way to make a file unreadable here");
        b->setDocument("keep me", 0, 4);
        b->panel->L5_Click();
        QCOMPARE(b->rc->Text(), QByteArray("keep me"));
        QCOMPARE(b->rc->SelectedText(), QByteArray("keep"));
        QCOMPARE(finished->count(), 0);
    }

    // A row picked with the keyboard inserts once; a mouse click inserts once, not twice.
    void keyboardAndMouseClicks()
    {
        QVERIFY(b->useLineEnds("\r\n"));
        b->setDocument("");
        b->panel->setCurrentPage(9);
        QListWidget *list = b->panel->L10;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(b->rc->Text(), QByteArray("<table width='100%' bgcolor='#' cellspacing='' cellpadding=''>"));
        checkFinished();

        b->setDocument("");
        const QRect row = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(b->rc->Text(), QByteArray("<tr>"));
        // Clicking the row already selected inserts again.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(b->rc->Text(), QByteArray("<tr><tr>"));
        checkFinished(3);
    }

    // The tool-window and fold buttons are usable only while the window listens to them.
    void signalButtons()
    {
        QPushButton *buttons[] = {b->panel->Command6, b->panel->Command7, b->panel->Command8};
        for (QPushButton *button : buttons)
            QVERIFY(!button->isEnabled());
        QSignalSpy colour(b->panel, &SidePanel::Command6Clicked);
        QSignalSpy replace(b->panel, &SidePanel::Command7Clicked);
        QSignalSpy fold(b->panel, &SidePanel::Command8Clicked);
        b->setDocument("same", 0, 2);
        for (QPushButton *button : buttons)
            button->click();
        QCOMPARE(colour.count() + replace.count() * 10 + fold.count() * 100, 111);
        QCOMPARE(b->rc->Text(), QByteArray("same"));
        QCOMPARE(finished->count(), 0);
    }

    // --- geometry ------------------------------------------------------------------------

    void tabStripFitsTheFoldedWidth()
    {
        auto *tabs = b->panel->findChild<QTabBar *>();
        QVERIFY(tabs->geometry().right() < twipsToPixels(SidePanel::FoldedWidth));
        QVERIFY(tabs->geometry().top() >= b->panel->Command8->geometry().bottom());
        // At the window's minimum size all ten tabs are in view.
        QVERIFY2(tabs->tabRect(9).bottom() < tabs->height(),
                 qPrintable(QStringLiteral("last tab ends at %1 of %2").arg(tabs->tabRect(9).bottom()).arg(tabs->height())));
        for (int i = 0; i < 10; ++i)
            QVERIFY(tabs->tabRect(i).width() <= twipsToPixels(SidePanel::FoldedWidth));
    }

    void foldButtonOnFirstPageOnly()
    {
        QPushButton *fold = b->panel->Command8;
        QVERIFY(fold->isVisible());
        b->panel->setCurrentPage(3);
        QVERIFY(!fold->isVisible());
        auto *tabs = b->panel->findChild<QTabBar *>();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(b->panel->currentPage(), 0);
        QVERIFY(fold->isVisible());
    }

    // A panel shorter than the character page scrolls, so button 40 stays reachable.
    void shortPanelScrolls()
    {
        b->panel->resize(b->panel->width(), 300);
        b->panel->setCurrentPage(5);
        QPushButton *last = b->panel->C6[40];
        auto *scroll = qobject_cast<QScrollArea *>(last->parentWidget()->parentWidget()->parentWidget());
        QVERIFY(scroll);
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        scroll->ensureWidgetVisible(last);
        const QRect shown(last->mapTo(b->panel, QPoint(0, 0)), last->size());
        QVERIFY(b->panel->rect().contains(shown));
        finished->clear();
        b->setDocument("é");
        QTest::mouseClick(last, Qt::LeftButton);
        QCOMPARE(b->rc->Text(), QByteArray("&#233;"));
    }

    void accessibleNames()
    {
        for (QAbstractButton *button : b->panel->findChildren<QAbstractButton *>()) {
            if (!button->isVisibleTo(b->panel) && button->parentWidget() == b->panel->findChild<QTabBar *>())
                continue; // the tab bar's own scroll arrows
            QVERIFY2(!button->accessibleName().isEmpty() || !button->text().isEmpty(), qPrintable(button->objectName()));
        }
        QCOMPARE(b->panel->C6[5]->accessibleName(), QStringLiteral("Insert &#38; (AND)"));
        for (QListWidget *list : b->panel->findChildren<QListWidget *>())
            QVERIFY(!list->accessibleName().isEmpty());
    }
};
KESTRIN_REGISTER_TEST(TestSidePanel);

#include "tst_sidepanel.moc"
