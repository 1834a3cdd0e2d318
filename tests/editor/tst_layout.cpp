#include "TestRegistry.h"

#include "common/Twips.h"
#include "editor/component/CodeEdit.h"
#include "editor/EditorStatusBar.h"
#include "editor/Layout.h"
#include "editor/frmEdit.h"
#include "snippets/SidePanel.h"

#include <QMenuBar>
#include <QToolBar>
#include <QTest>

using namespace kestrin;

class LayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void designSize()
    {
        EditorLayoutInput in;
        in.outerWidth = 10410;
        in.outerHeight = 8700;
        in.clientWidth = 10290;
        in.clientHeight = 8010;
        const EditorLayout out = arrangeControls(in);
        QVERIFY(!out.outerWidth);
        QVERIFY(!out.outerHeight);
        QCOMPARE(*out.panelHeight, 7215.0);
        QCOMPARE(*out.listHeight, 7115.0);
        QCOMPARE(*out.editorWidth, 7515.0);
        QCOMPARE(*out.editorHeight, 7215.0);
    }

    void foldingGrowsTheEditor()
    {
        EditorLayoutInput in;
        in.outerWidth = 10410;
        in.outerHeight = 8700;
        in.clientWidth = 10290;
        in.clientHeight = 8010;
        const FoldResult folded = foldPanel(2775);
        QCOMPARE(folded.panelWidth, 345);
        QCOMPARE(folded.editorLeft, 350);
        in.panelWidth = folded.panelWidth;
        QCOMPARE(*arrangeControls(in).editorWidth, 7515.0 + 2430.0);
        const FoldResult unfolded = foldPanel(folded.panelWidth);
        QCOMPARE(unfolded.panelWidth, 2775);
        QCOMPARE(unfolded.editorLeft, 2780);
    }

    void anyOtherWidthCountsAsFolded_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("2000") << 2000;
        QTest::newRow("345") << 345;
        QTest::newRow("2776") << 2776;
        QTest::newRow("0") << 0;
    }
    void anyOtherWidthCountsAsFolded()
    {
        QFETCH(int, width);
        QCOMPARE(foldPanel(width).panelWidth, 2775);
        QCOMPARE(foldPanel(width).editorLeft, 2780);
    }

    void tooSmallSnapsBack_data()
    {
        QTest::addColumn<double>("outerWidth");
        QTest::addColumn<double>("outerHeight");
        QTest::addColumn<bool>("widthSet");
        QTest::addColumn<bool>("heightSet");
        QTest::newRow("narrow") << 9000.0 << 9000.0 << true << false;
        QTest::newRow("low") << 11000.0 << 8000.0 << false << true;
        QTest::newRow("both") << 100.0 << 100.0 << true << true;
        QTest::newRow("exactly the minimum") << 10230.0 << 8310.0 << false << false;
    }
    void tooSmallSnapsBack()
    {
        QFETCH(double, outerWidth);
        QFETCH(double, outerHeight);
        QFETCH(bool, widthSet);
        QFETCH(bool, heightSet);
        EditorLayoutInput in;
        in.outerWidth = outerWidth;
        in.outerHeight = outerHeight;
        in.clientWidth = 10290;
        in.clientHeight = 8010;
        const EditorLayout out = arrangeControls(in);
        QCOMPARE(bool(out.outerWidth), widthSet);
        QCOMPARE(bool(out.outerHeight), heightSet);
        if (widthSet)
            QCOMPARE(*out.outerWidth, 10230.0);
        if (heightSet)
            QCOMPARE(*out.outerHeight, 8310.0);
    }

    void negativeHeightsAreSkipped()
    {
        EditorLayoutInput in;
        in.outerWidth = 10410;
        in.outerHeight = 8700;
        in.clientWidth = 2000;
        in.clientHeight = 500;
        const EditorLayout out = arrangeControls(in);
        QVERIFY(!out.panelHeight);
        QVERIFY(!out.listHeight);
        QVERIFY(!out.editorWidth);
        QVERIFY(!out.editorHeight);
    }

    // The editor fills the area between the toolbar and the status bar, with whatever heights the
    // style gives them: nothing of it (its horizontal scroll bar first) may lie under the status bar.
    void editorFillsTheAreaBelowTheToolbar()
    {
        frmEdit window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.RC->setText(QByteArray(2000, 'x') + "\n");
        const auto editor = [&] { return QRect(window.RC->mapTo(&window, QPoint(0, 0)), window.RC->size()); };
        for (const QSize size : {QSize(), QSize(900, 700)}) {
            if (size.isValid())
                window.resize(size);
            // The window system may deliver the sizes a little later: wait for them.
            QTRY_COMPARE(editor().top(), window.Toolbar1->geometry().bottom() + 1);
            QTRY_COMPARE(editor().bottom(), window.StatusBar1->geometry().top() - 1);
            // The designed width overhangs the right edge by the 45 twips between panel and editor.
            QVERIFY2(editor().right() - (window.width() - 1) <= twipsToPixels(45), qPrintable(QString::number(editor().right())));
        }
    }

    void realWindow()
    {
        frmEdit window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int clientHeight = window.height() - window.menuBar()->height();
        QCOMPARE(window.width(), twipsToPixels(10290));
        QCOMPARE(clientHeight, twipsToPixels(8010));
        QCOMPARE(window.SSTab1->width(), twipsToPixels(2775));
        QCOMPARE(window.SSTab1->height(), twipsToPixels(7215));
        QCOMPARE(window.RC->x(), twipsToPixels(2820));
        QCOMPARE(window.RC->width(), twipsToPixels(7515));
        QCOMPARE(window.RC->height(), twipsToPixels(7215));

        window.Command8_Click();
        QCOMPARE(window.SSTab1->width(), twipsToPixels(345));
        QCOMPARE(window.RC->x(), twipsToPixels(350));
        QCOMPARE(window.RC->width(), twipsToPixels(7515 + 2430));
        window.Command8_Click();
        QCOMPARE(window.SSTab1->width(), twipsToPixels(2775));
        QCOMPARE(window.RC->x(), twipsToPixels(2780));

        window.resize(100, 100);
        QTRY_VERIFY(window.frameGeometry().width() >= twipsToPixels(10230));
        QTRY_VERIFY(window.frameGeometry().height() >= twipsToPixels(8310));
    }
};

KESTRIN_REGISTER_TEST(LayoutTest);
#include "tst_layout.moc"
