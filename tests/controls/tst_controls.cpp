#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "controls/GetPixel.h"
#include "controls/ScrollPicture.h"
#include "controls/ScrollPictureLayout.h"

#include <QtTest>
#include <QtWidgets>

using namespace kestrin;

// The picture viewer in twips (a pixel is 15), as the colour chooser has it: 405 x 265 px, a
// frame of 388 x 248 (5820 x 3720 twips).
class ScrollPictureTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp; // fresh for every test function and row
    std::unique_ptr<ScrollPicture> m_view;
    QStringList m_events;

    // Loads a picture whose pixels tell their position: red = x, green = y (mod 256).
    bool load(int width, int height, const QString &name = QStringLiteral("img.png"))
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 77));
        return image.save(m_tmp->filePath(name)) && m_view->loadImage(m_tmp->filePath(name));
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_view = std::make_unique<ScrollPicture>();
        m_view->resize(405, 265);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_events.clear();
        connect(m_view.get(), &ScrollPicture::MouseDown, this, [this](qint16 b, qint16 s, float x, float y) {
            m_events << QStringLiteral("MouseDown %1 %2 %3 %4").arg(b).arg(s).arg(double(x)).arg(double(y));
        });
        connect(m_view.get(), &ScrollPicture::ImageClick, this, [this] { m_events << QStringLiteral("ImageClick"); });
        connect(m_view.get(), &ScrollPicture::ImageDblClick, this, [this] { m_events << QStringLiteral("DblClick"); });
    }
    void cleanup() { m_view.reset(), m_tmp.reset(); }

    // A control size: the size it grows to first (a side below 400 twips grows, one per resize),
    // or its frame, vertical bar and horizontal bar.
    void layout_data()
    {
        QTest::addColumn<QSize>("control"), QTest::addColumn<QList<QRect>>("expected");
        QTest::newRow("300x300") << QSize(300, 300) << QList<QRect>{QRect(0, 0, 400, 300)};
        QTest::newRow("400x300") << QSize(400, 300) << QList<QRect>{QRect(0, 0, 400, 400)};
        QTest::newRow("400x400") << QSize(400, 400) << QList<QRect>{{0, 0, 145, 145}, {145, 0, 255, 145}, {0, 145, 145, 255}};
        QTest::newRow("6075x3975") << QSize(6075, 3975) << QList<QRect>{{0, 0, 5820, 3720}, {5820, 0, 255, 3720}, {0, 3720, 5820, 255}};
    }
    void layout()
    {
        QFETCH(QSize, control); QFETCH(QList<QRect>, expected);
        const ScrollPictureLayout l = layoutScrollPicture(control.width(), control.height());
        QCOMPARE(l.laidOut(), expected.size() == 3);
        if (expected.size() == 1)
            QCOMPARE(QSize(l.newWidth.value_or(control.width()), l.newHeight.value_or(control.height())), expected[0].size());
        else
            QCOMPARE((QList<QRect>{l.imgFondo, l.VScroll, l.HScroll}), expected);
    }

    // Frame and picture sizes (twips) to the bars' maximum, small step and large step.
    void scrollBars_data()
    {
        // expected: horizontal then vertical; empty: the bars stay
        QTest::addColumn<QSizeF>("frame"), QTest::addColumn<QSizeF>("image"), QTest::addColumn<QList<int>>("expected");
        QTest::newRow("one pixel over") << QSizeF(5820, 3720) << QSizeF(5835, 9000) << QList<int>{15, 2, 4, 5280, 265, 1057};
        QTest::newRow("steps tie to even") << QSizeF(100, 100) << QSizeF(130, 150) << QList<int>{30, 2, 7, 50, 4, 11};
        QTest::newRow("3720 in 3720, fits") << QSizeF(3720, 3720) << QSizeF(3720, 3721) << QList<int>{0, 1, 1, 1, 1, 1};
        QTest::newRow("beyond 32 bits") << QSizeF(5820, 3720) << QSizeF(3e9, 3e9) << QList<int>{};
    }
    void scrollBars()
    {
        QFETCH(QSizeF, frame); QFETCH(QSizeF, image); QFETCH(QList<int>, expected);
        const auto h = scrollBarSettings(frame.width(), image.width()), v = scrollBarSettings(frame.height(), image.height());
        QCOMPARE(h.has_value() && v.has_value(), !expected.isEmpty());
        if (!expected.isEmpty())
            QCOMPARE((QList<int>{h->maximum, h->smallStep, h->largeStep, v->maximum, v->smallStep, v->largeStep, h->visible, v->visible}),
                     (expected + QList<int>{expected[0] > 0, expected[3] > 0}));
    }

    // A 3 x 2 picture: red, orange, green over black, black, blue. Positions round half to even.
    void pixelAtPointer_data()
    {
        QTest::addColumn<QPointF>("at"), QTest::addColumn<quint32>("expected");
        QTest::newRow("0.5 ties to 0") << QPointF(0.5, 0) << quint32(0x000000FF);
        QTest::newRow("1.5 ties to 2") << QPointF(1.5, 0) << quint32(0x0000FF00);
        QTest::newRow("0.6 to 1") << QPointF(0.6, 0.4) << quint32(0x000080FF);
        QTest::newRow("-0.5 ties to 0") << QPointF(-0.5, -0.5) << quint32(0x000000FF);
        QTest::newRow("-0.6 off") << QPointF(-0.6, 0) << InvalidColour;
        QTest::newRow("3,0 off") << QPointF(3, 0) << InvalidColour;
        QTest::newRow("far off") << QPointF(1e12, 0) << InvalidColour;
    }
    void pixelAtPointer()
    {
        QFETCH(QPointF, at); QFETCH(quint32, expected);
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (auto [x, y, rgb] : {std::tuple{0, 0, qRgb(255, 0, 0)}, {1, 0, qRgb(255, 128, 0)}, {2, 0, qRgb(0, 255, 0)}, {2, 1, qRgb(0, 0, 255)}})
            image.setPixel(x, y, rgb);
        QCOMPARE(kestrin::pixelAtPointer(image, at), expected);
        QCOMPARE(GetPixel(QImage(), 0, 0), InvalidColour);
    }

    // Picture sizes (px) to the bars' maxima (0: no bar); at their ends the picture's last
    // column and row meet the frame's edges.
    void barsForImages_data()
    {
        QTest::addColumn<QSize>("image"), QTest::addColumn<QSize>("maxima");
        QTest::newRow("388x248 exactly") << QSize(388, 248) << QSize(0, 0);
        QTest::newRow("467x200 wide") << QSize(467, 200) << QSize(1185, 0);
        QTest::newRow("100x600 tall") << QSize(100, 600) << QSize(0, 5280);
        QTest::newRow("2600x2500 beyond 16 bits") << QSize(2600, 2500) << QSize(33180, 33780);
    }
    void barsForImages()
    {
        QFETCH(QSize, image); QFETCH(QSize, maxima);
        QVERIFY(load(image.width(), image.height()));
        QCOMPARE(m_view->imgImage->size(), image);
        QCOMPARE(QSize(m_view->HScroll->isVisible() ? m_view->HScroll->maximum() : 0,
                       m_view->VScroll->isVisible() ? m_view->VScroll->maximum() : 0), maxima);
        m_view->HScroll->setValue(maxima.width());
        m_view->VScroll->setValue(maxima.height());
        QVERIFY(!maxima.width() || m_view->imgImage->geometry().right() == m_view->imgFondo->width() - 1);
        QVERIFY(!maxima.height() || m_view->imgImage->geometry().bottom() == m_view->imgFondo->height() - 1);
    }

    // The image moves by exactly the bars' values; a new picture, Stretch and a resize put it
    // back at the origin; too small a viewer grows to 400 twips (27 px).
    void scrolling()
    {
        QVERIFY(load(600, 600));
        m_view->HScroll->setValue(300);
        m_view->VScroll->setValue(1500);
        QCOMPARE(m_view->imgImage->pos(), QPoint(-20, -100));
        QTest::mousePress(m_view->imgImage, Qt::LeftButton, {}, m_view->imgImage->mapFrom(m_view->imgFondo, QPoint(30, 7)));
        QCOMPARE(m_events, QStringList{"MouseDown 1 0 750 1605"});
        QCOMPARE(GetPixel(m_view->hDC(), 200, 100), quint32(200 | 100 << 8 | 77 << 16)); // image coordinates
        QVERIFY(load(50, 50, "small.png"));
        QCOMPARE(m_view->imgImage->pos(), QPoint(0, 0));
        QVERIFY(load(500, 300));
        m_view->HScroll->setValue(900);
        m_view->setStretch(true);
        QVERIFY(m_view->imgImage->pos() == QPoint(0, 0) && !m_view->Stretch());
        m_view->HScroll->setValue(900);
        m_view->resize(600, 400);
        QVERIFY(!m_view->HScroll->isVisible() && m_view->imgImage->pos() == QPoint(0, 0));
        m_view->resize(20, 20);
        QCOMPARE(m_view->size(), QSize(27, 27));
    }

    // What a press or double click on each part raises; the corner between the bars is the
    // control's own surface. Positions in twips, or in pixels in scale mode 3 (here with Alt).
    void mouse_data()
    {
        QTest::addColumn<QString>("target"), QTest::addColumn<QString>("expected");
        QTest::newRow("imgImage left") << "imgImage" << "MouseDown 1 0 150 75";
        QTest::newRow("imgImage right") << "imgImage" << "MouseDown 2 0 150 75|ImageClick";
        QTest::newRow("imgImage middle") << "imgImage" << "MouseDown 4 0 150 75";
        QTest::newRow("imgImage shift+ctrl left") << "imgImage" << "MouseDown 1 3 150 75";
        QTest::newRow("imgImage alt right") << "imgImage" << "MouseDown 2 4 10 5|ImageClick";
        QTest::newRow("imgFondo right") << "imgFondo" << "";
        QTest::newRow("imgImage double") << "imgImage" << "DblClick";
        QTest::newRow("imgFondo double") << "imgFondo" << "DblClick";
        QTest::newRow("control double") << "" << "DblClick";
    }
    void mouse()
    {
        QFETCH(QString, target); QFETCH(QString, expected);
        const QString press = QTest::currentDataTag();
        QVERIFY(load(100, 600));
        m_view->setScaleMode(press.contains("alt") ? 3 : 1);
        QWidget *widget = target.isEmpty() ? m_view.get() : m_view->findChild<QWidget *>(target);
        const QPoint at = target.isEmpty() ? QPoint(396, 256) : target == "imgFondo" ? QPoint(200, 20) : QPoint(10, 5);
        const auto b = press.contains("right") ? Qt::RightButton : press.contains("middle") ? Qt::MiddleButton : Qt::LeftButton;
        const auto mods = Qt::KeyboardModifiers((press.contains("shift") ? Qt::ShiftModifier : 0) | (press.contains("ctrl") ? Qt::ControlModifier : 0)
                                                | (press.contains("alt") ? Qt::AltModifier : 0));
        if (press.endsWith("double"))
            QTest::mouseDClick(widget, b, mods, at);
        else
            QTest::mousePress(widget, b, mods, at);
        QCOMPARE(m_events.join('|'), expected);
    }

    // An unreadable file changes nothing but FileName; transparent pixels read as the background.
    void loadImage_data()
    {
        QTest::addColumn<QString>("name"), QTest::addColumn<QByteArray>("content"); // null: a folder
        QTest::newRow("missing") << "" << QByteArray();
        QTest::newRow("text named .jpg") << "notes.jpg" << QByteArray("just text\n");
        QTest::newRow("a folder") << "folder.png" << QByteArray();
    }
    void loadImage()
    {
        QFETCH(QString, name); QFETCH(QByteArray, content);
        const Prompter *gone = nullptr;
        {
            test::ScriptedPrompter standIn;
            gone = &Prompter::instance();
        }
        QVERIFY(&Prompter::instance() != gone); // the real one again once the stand-in goes
        test::ScriptedPrompter prompter; // no image yet: Save says so and writes nothing
        QVERIFY(!m_view->Save(m_tmp->filePath("none.bmp")) && prompter.asked.size() == 1 && !QFile::exists(m_tmp->filePath("none.bmp")));
        QImage alpha(500, 4, QImage::Format_ARGB32);
        alpha.fill(Qt::transparent);
        alpha.setPixel(1, 1, qRgba(255, 128, 0, 255));
        QVERIFY(alpha.save(m_tmp->filePath("alpha.png")) && m_view->loadImage(m_tmp->filePath("alpha.png")));
        const QColor base = m_view->palette().color(QPalette::Base);
        QCOMPARE(GetPixel(m_view->hDC(), 0, 0), quint32(base.red() | base.green() << 8 | base.blue() << 16));
        QCOMPARE(GetPixel(m_view->hDC(), 1, 1), quint32(0x000080FF));
        m_view->HScroll->setValue(300);
        const QImage before = m_view->hDC();
        const QString path = m_tmp->filePath(name.isEmpty() ? "gone.png" : name);
        QFile file(path);
        QVERIFY(name.isEmpty() || (content.isNull() ? QDir().mkdir(path) : file.open(QIODevice::WriteOnly) && file.write(content) >= 0));
        file.close();
        QVERIFY(!m_view->loadImage(path));
        QCOMPARE(m_view->FileName(), path);
        QVERIFY(m_view->hDC() == before && m_view->HScroll->value() == 300 && m_view->imgImage->x() == -20);
    }
};
KESTRIN_REGISTER_TEST(ScrollPictureTest);

#include "tst_controls.moc"
