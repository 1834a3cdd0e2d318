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

    void toInt16_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("expected");
        QTest::newRow("32767") << 32767.0 << true << 32767;
        QTest::newRow("32767.5") << 32767.5 << false << 0; // rounds to the even 32768
        QTest::newRow("32766.5") << 32766.5 << true << 32766;
        QTest::newRow("32768") << 32768.0 << false << 0;
        QTest::newRow("-32768") << -32768.0 << true << -32768;
        QTest::newRow("-32769") << -32769.0 << false << 0;
    }
    void toInt16()
    {
        QFETCH(double, value);
        QFETCH(bool, fits);
        QFETCH(int, expected);
        const auto result = kestrin::toInt16(value);
        QCOMPARE(result.has_value(), fits);
        if (fits)
            QCOMPARE(int(*result), expected);
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

    void scrollBars_data()
    {
        QTest::addColumn<double>("frame");
        QTest::addColumn<double>("image");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("smallStep");
        QTest::addColumn<int>("largeStep");
        QTest::addColumn<bool>("visible");
        QTest::newRow("width 4000 in 5820") << 5820.0 << 4000.0 << true << 0 << 1 << 1 << false;
        QTest::newRow("height 2000 in 3720") << 3720.0 << 2000.0 << true << 0 << 1 << 1 << false;
        QTest::newRow("width 7000 in 5820") << 5820.0 << 7000.0 << true << 1180 << 60 << 237 << true;
        QTest::newRow("height 3000 in 3720") << 3720.0 << 3000.0 << true << 0 << 1 << 1 << false;
        QTest::newRow("height 9000 in 3720") << 3720.0 << 9000.0 << true << 5280 << 265 << 1057 << true;
        QTest::newRow("equal 3720") << 3720.0 << 3720.0 << true << 0 << 1 << 1 << false;
        QTest::newRow("1 more") << 3720.0 << 3721.0 << true << 1 << 1 << 1 << true;
        QTest::newRow("30 more, small step ties to even") << 100.0 << 130.0 << true << 30 << 2 << 7 << true;
        QTest::newRow("50 more, small step ties to even") << 100.0 << 150.0 << true << 50 << 4 << 11 << true;
        QTest::newRow("32767 more") << 3720.0 << 36487.0 << true << 32767 << 1639 << 6554 << true;
        QTest::newRow("32768 more") << 3720.0 << 36488.0 << false << 0 << 0 << 0 << false;
    }
    void scrollBars()
    {
        QFETCH(double, frame);
        QFETCH(double, image);
        QFETCH(bool, fits);
        QFETCH(int, maximum);
        QFETCH(int, smallStep);
        QFETCH(int, largeStep);
        QFETCH(bool, visible);
        const auto bar = scrollBarSettings(frame, image);
        QCOMPARE(bar.has_value(), fits);
        if (!fits)
            return;
        QCOMPARE(int(bar->maximum), maximum);
        QCOMPARE(int(bar->smallStep), smallStep);
        QCOMPARE(int(bar->largeStep), largeStep);
        QCOMPARE(bar->visible, visible);
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
