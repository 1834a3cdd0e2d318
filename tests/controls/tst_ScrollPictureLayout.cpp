#include "TestRegistry.h"

#include "controls/GetPixel.h"
#include "controls/ScrollPictureLayout.h"

#include <QTest>

using namespace kestrin;

class ScrollPictureLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("1.5") << 1.5 << 2.0;
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
        QTest::newRow("2.49") << 2.49 << 2.0;
        QTest::newRow("2.51") << 2.51 << 3.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(kestrin::roundHalfEven(value), expected);
    }

    void layout_data()
    {
        QTest::addColumn<QSize>("control");
        QTest::addColumn<int>("newWidth");  // 0: none
        QTest::addColumn<int>("newHeight"); // 0: none
        QTest::addColumn<QRect>("fondo");
        QTest::addColumn<QRect>("vscroll");
        QTest::addColumn<QRect>("hscroll");
        QTest::newRow("300x300") << QSize(300, 300) << 400 << 0 << QRect() << QRect() << QRect();
        QTest::newRow("400x300") << QSize(400, 300) << 0 << 400 << QRect() << QRect() << QRect();
        QTest::newRow("300x5000") << QSize(300, 5000) << 400 << 0 << QRect() << QRect() << QRect();
        QTest::newRow("400x400") << QSize(400, 400) << 0 << 0 << QRect(0, 0, 145, 145)
                                 << QRect(145, 0, 255, 145) << QRect(0, 145, 145, 255);
        QTest::newRow("6075x3975") << QSize(6075, 3975) << 0 << 0 << QRect(0, 0, 5820, 3720)
                                   << QRect(5820, 0, 255, 3720) << QRect(0, 3720, 5820, 255);
        QTest::newRow("7785x4635") << QSize(7785, 4635) << 0 << 0 << QRect(0, 0, 7530, 4380)
                                   << QRect(7530, 0, 255, 4380) << QRect(0, 4380, 7530, 255);
    }
    void layout()
    {
        QFETCH(QSize, control);
        QFETCH(int, newWidth);
        QFETCH(int, newHeight);
        QFETCH(QRect, fondo);
        QFETCH(QRect, vscroll);
        QFETCH(QRect, hscroll);
        const ScrollPictureLayout l = layoutScrollPicture(control.width(), control.height());
        QCOMPARE(l.newWidth.value_or(0), newWidth);
        QCOMPARE(l.newHeight.value_or(0), newHeight);
        QCOMPARE(l.laidOut(), newWidth == 0 && newHeight == 0);
        if (l.laidOut()) {
            QCOMPARE(l.imgFondo, fondo);
            QCOMPARE(l.VScroll, vscroll);
            QCOMPARE(l.HScroll, hscroll);
        }
    }

    // 300 x 300 grows one side per resize and is laid out once, at 400 x 400.
    void layoutGrowsToMinimumStepByStep()
    {
        QSize size(300, 300);
        int layouts = 0;
        for (int resizes = 0; resizes < 5; ++resizes) {
            const ScrollPictureLayout l = layoutScrollPicture(size.width(), size.height());
            if (l.laidOut()) {
                ++layouts;
                break;
            }
            size = QSize(l.newWidth.value_or(size.width()), l.newHeight.value_or(size.height()));
        }
        QCOMPARE(size, QSize(400, 400));
        QCOMPARE(layouts, 1);
    }

    // Both bars of one viewer: horizontal then vertical maximum, small step, large step (twips).
    // The colour chooser's frame is 5820 x 3720 twips (388 x 248 px); a pixel is 15 twips.
    void scrollBars_data()
    {
        QTest::addColumn<QSizeF>("frame");
        QTest::addColumn<QSizeF>("image");
        QTest::addColumn<QList<int>>("expected"); // empty: the range does not fit, the bars stay
        const QSizeF chooser(5820, 3720);
        QTest::newRow("4000x2000 smaller than the frame") << chooser << QSizeF(4000, 2000) << QList<int>{0, 1, 1, 0, 1, 1};
        QTest::newRow("7000x3000") << chooser << QSizeF(7000, 3000) << QList<int>{1180, 60, 237, 0, 1, 1};
        QTest::newRow("389x600 px, one pixel over") << chooser << QSizeF(5835, 9000) << QList<int>{15, 2, 4, 5280, 265, 1057};
        QTest::newRow("130x150 in 100x100, steps tie to even") << QSizeF(100, 100) << QSizeF(130, 150) << QList<int>{30, 2, 7, 50, 4, 11};
        QTest::newRow("3720x3721 in 3720x3720") << QSizeF(3720, 3720) << QSizeF(3720, 3721) << QList<int>{0, 1, 1, 1, 1, 1};
        QTest::newRow("2200 px over, 32767 twips over") << chooser << QSizeF(38820, 36487) << QList<int>{33000, 1651, 6601, 32767, 1639, 6554};
        QTest::newRow("6000x4000 px photo") << chooser << QSizeF(90000, 60000) << QList<int>{84180, 4210, 16837, 56280, 2815, 11257};
        QTest::newRow("20000x100 px panorama") << chooser << QSizeF(300000, 1500) << QList<int>{294180, 14710, 58837, 0, 1, 1};
        QTest::newRow("beyond 32 bits") << chooser << QSizeF(3e9, 3e9) << QList<int>{};
    }
    void scrollBars()
    {
        QFETCH(QSizeF, frame);
        QFETCH(QSizeF, image);
        QFETCH(QList<int>, expected);
        const auto h = scrollBarSettings(frame.width(), image.width());
        const auto v = scrollBarSettings(frame.height(), image.height());
        QCOMPARE(h.has_value() && v.has_value(), !expected.isEmpty());
        if (expected.isEmpty())
            return;
        QCOMPARE((QList<int>{h->maximum, h->smallStep, h->largeStep, v->maximum, v->smallStep, v->largeStep}), expected);
        QCOMPARE(h->visible, expected[0] > 0);
        QCOMPARE(v->visible, expected[3] > 0);
    }

    void getPixel_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("0,0 red") << 0 << 0 << quint32(0x000000FF);
        QTest::newRow("1,0 orange") << 1 << 0 << quint32(0x000080FF);
        QTest::newRow("2,1 blue") << 2 << 1 << quint32(0x00FF0000);
        QTest::newRow("-1,0") << -1 << 0 << InvalidColour;
        QTest::newRow("0,-1") << 0 << -1 << InvalidColour;
        QTest::newRow("3,0") << 3 << 0 << InvalidColour;
        QTest::newRow("0,2") << 0 << 2 << InvalidColour;
    }
    void getPixel()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(quint32, expected);
        QCOMPARE(GetPixel(sample(), x, y), expected);
    }

    void getPixelOnNoSurface() { QCOMPARE(GetPixel(QImage(), 0, 0), InvalidColour); }

    void pixelAtPointer_data()
    {
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("0.5 ties to 0") << QPointF(0.5, 0) << quint32(0x000000FF);
        QTest::newRow("1.5 ties to 2") << QPointF(1.5, 0) << quint32(0x0000FF00);
        QTest::newRow("0.6 to 1") << QPointF(0.6, 0.4) << quint32(0x000080FF);
        QTest::newRow("-0.5 ties to 0") << QPointF(-0.5, -0.5) << quint32(0x000000FF);
        QTest::newRow("-0.6 off") << QPointF(-0.6, 0) << InvalidColour;
        QTest::newRow("far off") << QPointF(1e12, 0) << InvalidColour;
    }
    void pixelAtPointer()
    {
        QFETCH(QPointF, at);
        QFETCH(quint32, expected);
        QCOMPARE(kestrin::pixelAtPointer(sample(), at), expected);
    }

private:
    static QImage sample()
    {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::black);
        image.setPixel(0, 0, qRgb(255, 0, 0));
        image.setPixel(1, 0, qRgb(255, 128, 0));
        image.setPixel(2, 0, qRgb(0, 255, 0));
        image.setPixel(2, 1, qRgb(0, 0, 255));
        return image;
    }
};

KESTRIN_REGISTER_TEST(ScrollPictureLayoutTest);

#include "tst_ScrollPictureLayout.moc"
