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
            QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        }
        QCOMPARE(b->panel->L10->item(3)->text(), QStringLiteral("<td colspan>"));
        QCOMPARE(b->panel->currentPage(), 0);
        auto *tabs = b->panel->findChild<QTabBar *>();
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(tabs->tabText(i), b->panel->pageCaption(i));
    }

    void wrap_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selEnd");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Bold, nothing selected") << QByteArray() << 0 << 0 << "Bold" << QByteArray("<b></b>");
        QTest::newRow("Bold around a word") << QByteArray("a word b") << 2 << 6 << "Bold" << QByteArray("a <b>word</b> b");
        QTest::newRow("Horizontal line on abc") << QByteArray("abc") << 0 << 3 << "Horizontal line" << QByteArray("<hr />abc");
        QTest::newRow("Font color on two lines")
            << QByteArray("x\r\ny") << 0 << 4 << "Font color" << QByteArray("<font color='#'>x\r\ny</font>");
        QTest::newRow("Registered at caret") << QByteArray("ab") << 1 << 1 << "Registered" << QByteArray("a&reg;b");
        QTest::newRow("selection bytes kept (lone LF)")
            << QByteArray("a\nb") << 0 << 3 << "Center" << QByteArray("<center>a\nb</center>");
    }
    void wrap()
    {
        QFETCH(QByteArray, document);
        QFETCH(int, selStart);
        QFETCH(int, selEnd);
        QFETCH(QString, entry);
        QFETCH(QByteArray, expected);
        QVERIFY(b->useLineEnds("\r\n"));
        b->setDocument(document, selStart, selEnd);
        b->panel->L1->setFocus();
        pick(b->panel->L1, entry);
        b->panel->L1_Click();
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
        QVERIFY(b->panel->L1->currentItem()->isSelected()); // the row stays selected
    }

    void replace_data()
    {
        QTest::addColumn<int>("list"); // index into L2, L3, L4, L8, L9, L10
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("PHP Mail") << 0 << "Mail" << QByteArray("mail(\"To,\"Title,\"Text\",Options\");");
        QTest::newRow("xhtml footer") << 1 << "xhtml footer" << QByteArray("</body>\r\n</html>");
        QTest::newRow("CSS body") << 2 << "body" << QByteArray("body\r\n{\r\n\r\n}");
        QTest::newRow("FORM submit") << 3 << "submit" << QByteArray("<input type='submit' value='OK' name='s_but' />");
        QTest::newRow("MySQL delete") << 4 << "delete" << QByteArray("\"delete from Table where row='any'\"");
        QTest::newRow("TABLE Insert table")
            << 5 << "Insert table" << QByteArray("<table width='100%'><tr>\r\n<td valign='top'>\r\n\r\n</td></tr></table>");
    }
    void replace()
    {
        QFETCH(int, list);
        QFETCH(QString, entry);
        QFETCH(QByteArray, text);
        QListWidget *lists[] = {b->panel->L2, b->panel->L3, b->panel->L4, b->panel->L8, b->panel->L9, b->panel->L10};
        void (SidePanel::*handlers[])() = {&SidePanel::L2_Click, &SidePanel::L3_Click, &SidePanel::L4_Click,
                                           &SidePanel::L8_Click, &SidePanel::L9_Click, &SidePanel::L10_Click};
        QVERIFY(b->useLineEnds("\r\n"));
        b->setDocument("[selected]", 1, 9);
        pick(lists[list], entry);
        (b->panel->*handlers[list])();
        QCOMPARE(b->rc->Text(), "[" + text + "]");
        checkFinished();
    }

    // In an LF document the program's CR LF breaks become LF.
    void lineEndsFollowTheDocument()
    {
        QVERIFY(b->useLineEnds("\n"));
        b->setDocument("");
        pick(b->panel->L3, QStringLiteral("xhtml header"));
        b->panel->L3_Click();
        const QByteArray text = b->rc->Text();
        QVERIFY(!text.contains('\r'));
        QCOMPARE(text.count('\n'), 12);
        QVERIFY(text.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\">\n<html"));
        QVERIFY(text.endsWith("</head>\n<body>\n"));
    }

    void ajax_data()
    {
        QTest::addColumn<QString>("lineBreak");
        QTest::addColumn<QByteArray>("file"); // null: no sample file
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("missing") << "\r\n" << QByteArray() << QByteArray("Sample missing");
        QTest::newRow("present, CR LF document") << "\r\n" << QByteArray("one\r\ntwo\r\n") << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("last line without break") << "\r\n" << QByteArray("one\r\ntwo") << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("lone LF in the document's line ends") << "\r\n" << QByteArray("a\nb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR lines") << "\r\n" << QByteArray("a\rb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("empty file") << "\r\n" << QByteArray("") << QByteArray();
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
    }

    // Read at every click: a changed file gives the new text.
    void ajaxReadAtEveryClick()
    {
        QVERIFY(b->useLineEnds("\r\n"));
        b->setDocument("");
        QVERIFY(b->folder.writeSample("first"));
        b->panel->L5_Click();
        QVERIFY(b->folder.writeSample("second"));
        b->panel->L5_Click();
        QCOMPARE(b->rc->Text(), QByteArray("first\r\nsecond\r\n"));
        checkFinished(2);
    }

    void ajaxUnreadableLeavesDocument()
    {
        const QString how = b->folder.makeSampleUnreadable();
        if (how.isEmpty())
            QSKIP("no way to make a file unreadable here");
        qInfo("sample made unreadable by %s", qPrintable(how));
        b->setDocument("keep me", 0, 4);
        b->panel->L1->setFocus();
        b->panel->L5_Click();
        QCOMPARE(b->rc->Text(), QByteArray("keep me"));
        QCOMPARE(b->rc->SelectedText(), QByteArray("keep"));
        QCOMPARE(finished->count(), 0);
    }

    // The shipped sample, found in the program's own folder.
    void ajaxShippedSample()
    {
        const QString build = qEnvironmentVariable("KESTRIN_BUILD_DIR");
        if (build.isEmpty() || !QFile::exists(build + QStringLiteral("/ajax_sampl.dat")))
            QSKIP("run through CTest after building kestrin4 to find the shipped sample");
        QVERIFY(b->useLineEnds("\r\n"));
        b->panel->setProgramFolder(build);
        b->setDocument("");
        b->panel->L5_Click();
        QVERIFY(b->rc->Text().contains("getHTTPObject()"));
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
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(b->rc->Text(), QByteArray("<tr>"));
        checkFinished(2);

        // Clicking the row already selected inserts again.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(b->rc->Text(), QByteArray("<tr><tr>"));
        checkFinished(3);
    }

    void characterButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("AND") << 5 << QByteArray("x&#38;y");
        QTest::newRow("double quote") << 7 << QByteArray("x&#34;y");
        QTest::newRow("é") << 15 << QByteArray("x&#233;y");
    }
    void characterButtons()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, expected);
        b->setDocument("x<selection>y", 1, 12);
        b->panel->setCurrentPage(5);
        QTest::mouseClick(b->panel->C6[size_t(index)], Qt::LeftButton);
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
    }

    // One undo step undoes the rewrite; a rewrite that changed nothing leaves no empty step.
    void replaceButtonRewritesDocument_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QByteArray>("afterUndo");
        QTest::newRow("Café Ölé") << QByteArray("Café Ölé") << QByteArray("Caf&#233; &#214;l&#233;") << QByteArray("Café Ölé");
        QTest::newRow("nothing to replace") << QByteArray("ã ß & &#233;") << QByteArray("ã ß & &#233;") << QByteArray("start");
        // Larger documents are rewritten a block at a time. Short lines: laying out one line of
        // megabytes is a display cost of its own, and not what this checks.
        const QByteArray longText = QByteArray("Café Ölé Café Ölé Café Ölé\n").repeated(100'000);
        QTest::newRow("3.6 MB of Café Ölé lines") << longText
                                            << QByteArray(longText).replace("é", "&#233;").replace("Ö", "&#214;")
                                            << longText;
    }
    void replaceButtonRewritesDocument()
    {
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, expected);
        QFETCH(QByteArray, afterUndo);
        b->setDocument("start");
        b->setDocument(document, 0, 1); // the selection does not limit the rewrite
        b->panel->C6[40]->click();
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
        b->rc->Undo();
        QCOMPARE(b->rc->Text(), afterUndo);
    }

    void addressToLink_data()
    {
        QTest::addColumn<QByteArray>("selection");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("<a href='http://abc'>abc</a>");
        QTest::newRow("empty") << QByteArray() << QByteArray("<a href='http://'></a>");
        QTest::newRow("me@host") << QByteArray("me@host") << QByteArray("<a href='mailto:me@host'>me@host</a>");
    }
    void addressToLink()
    {
        QFETCH(QByteArray, selection);
        QFETCH(QByteArray, expected);
        b->setDocument(selection, 0, int(selection.size()));
        b->panel->Command1->click();
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
    }

    void addressToLinkLongSelection()
    {
        QByteArray s(40000, 'a');
        s[39999] = '@';
        b->setDocument(s, 0, int(s.size()));
        b->panel->Command1->click();
        QCOMPARE(b->rc->Text(), "<a href='mailto:" + s + "'>" + s + "</a>");
    }

    void deleteHtmCodes_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QByteArray>("afterUndo");
        QTest::newRow("<p>a > b</p>") << QByteArray("<p>a > b</p>") << QByteArray("a  b") << QByteArray("<p>a > b</p>");
        QTest::newRow("x <b unclosed") << QByteArray("x <b unclosed") << QByteArray("x ") << QByteArray("x <b unclosed");
        QTest::newRow("no tags") << QByteArray("plain") << QByteArray("plain") << QByteArray("before");
    }
    void deleteHtmCodes()
    {
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, expected);
        QFETCH(QByteArray, afterUndo);
        b->setDocument("before");
        b->setDocument(document, 0, 1);
        b->panel->Command2->click();
        QCOMPARE(b->rc->Text(), expected);
        checkFinished();
        b->rc->Undo();
        QCOMPARE(b->rc->Text(), afterUndo);
    }

    void comments_data()
    {
        QTest::addColumn<QByteArray>("selection");
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("php");
        QTest::newRow("empty") << QByteArray() << QByteArray("<!---->") << QByteArray("/**/");
        QTest::newRow("two lines") << QByteArray("a\r\nb") << QByteArray("<!--a\r\nb-->") << QByteArray("/*a\r\nb*/");
    }
    void comments()
    {
        QFETCH(QByteArray, selection);
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, php);
        b->setDocument(selection, 0, int(selection.size()));
        b->panel->Command4->click();
        QCOMPARE(b->rc->Text(), html);
        b->setDocument(selection, 0, int(selection.size()));
        b->panel->Command5->click();
        QCOMPARE(b->rc->Text(), php);
        checkFinished(2);
    }

    // The tool-window and fold buttons are usable only while the window listens to them.
    void signalButtons()
    {
        QVERIFY(!b->panel->Command6->isEnabled());
        QVERIFY(!b->panel->Command7->isEnabled());
        QVERIFY(!b->panel->Command8->isEnabled());
        QSignalSpy colour(b->panel, &SidePanel::Command6Clicked);
        QSignalSpy replace(b->panel, &SidePanel::Command7Clicked);
        QSignalSpy fold(b->panel, &SidePanel::Command8Clicked);
        b->setDocument("same", 0, 2);
        for (QPushButton *button : {b->panel->Command6, b->panel->Command7, b->panel->Command8}) {
            QVERIFY(button->isEnabled());
            button->click();
        }
        QCOMPARE(colour.count(), 1);
        QCOMPARE(replace.count(), 1);
        QCOMPARE(fold.count(), 1);
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
        const auto buttons = b->panel->findChildren<QAbstractButton *>();
        QVERIFY(buttons.size() >= 48);
        for (QAbstractButton *button : buttons) {
            if (!button->isVisibleTo(b->panel) && button->parentWidget() == b->panel->findChild<QTabBar *>())
                continue; // the tab bar's own scroll arrows
            QVERIFY2(!button->accessibleName().isEmpty() || !button->text().isEmpty(), qPrintable(button->objectName()));
        }
        QCOMPARE(b->panel->C6[0]->accessibleName(), QStringLiteral("Insert &#225; (á)"));
        QCOMPARE(b->panel->C6[5]->accessibleName(), QStringLiteral("Insert &#38; (AND)"));
        for (QListWidget *list : b->panel->findChildren<QListWidget *>())
            QVERIFY(!list->accessibleName().isEmpty());
        QVERIFY(!b->panel->Command8->accessibleName().isEmpty());
    }
};
KESTRIN_REGISTER_TEST(TestSidePanel);

#include "tst_sidepanel.moc"
