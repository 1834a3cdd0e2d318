#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "controls/GetPixel.h"
#include "controls/ScrollPicture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrin;

namespace {

// A picture with a marker pixel whose colour tells its position: red = x, green = y (mod 256).
QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 77));
    return image;
}

} // namespace

class ScrollPictureTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_view = std::make_unique<ScrollPicture>();
        // The colour chooser's viewer: 6075 x 3975 twips, a frame of 5820 x 3720.
        m_view->resize(405, 265);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        m_tmp.reset();
        ScrollPicture::setPrintDialogHook({});
    }

    void tooSmallGrowsToMinimum()
    {
        m_view->resize(20, 20); // 300 x 300 twips
        // 400 twips is 26.7 px; the nearest whole pixel is 27 (405 twips).
        QCOMPARE(m_view->size(), QSize(27, 27));
        QCOMPARE(m_view->imgFondo->geometry(), QRect(0, 0, 10, 10));
    }

    void barsForImages_data()
    {
        QTest::addColumn<QSize>("image"); // pixels
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("hMax");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("vMax");
        QTest::newRow("200x100 fits") << QSize(200, 100) << false << 0 << false << 0;
        QTest::newRow("388x248 exactly") << QSize(388, 248) << false << 0 << false << 0;
        QTest::newRow("467x200 wide") << QSize(467, 200) << true << 1185 << false << 0;
        QTest::newRow("100x600 tall") << QSize(100, 600) << false << 0 << true << 5280;
        QTest::newRow("600x600 both") << QSize(600, 600) << true << 3180 << true << 5280;
        QTest::newRow("2600x2500 beyond 16 bits") << QSize(2600, 2500) << true << 33180 << true << 33780;
    }
    void barsForImages()
    {
        QFETCH(QSize, image);
        QFETCH(bool, horizontal);
        QFETCH(int, hMax);
        QFETCH(bool, vertical);
        QFETCH(int, vMax);
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(image.width(), image.height()))));
        QCOMPARE(m_view->imgImage->size(), image);
        QCOMPARE(m_view->HScroll->isVisible(), horizontal);
        QCOMPARE(m_view->VScroll->isVisible(), vertical);
        QCOMPARE(m_view->HScroll->maximum(), hMax);
        QCOMPARE(m_view->VScroll->maximum(), vMax);
        QCOMPARE(m_view->HScroll->value(), 0);
        QCOMPARE(m_view->VScroll->value(), 0);
        // Both bars at their ends bring the image's last column and row to the frame's edges.
        m_view->HScroll->setValue(hMax);
        m_view->VScroll->setValue(vMax);
        if (horizontal)
            QCOMPARE(m_view->imgImage->geometry().right(), m_view->imgFondo->width() - 1);
        if (vertical)
            QCOMPARE(m_view->imgImage->geometry().bottom(), m_view->imgFondo->height() - 1);
    }

    // The image moves by exactly the bar's value: scrolled to 300 twips, the frame's pixel 30
    // shows image pixel 50.
    void scrollingMovesByValue()
    {
        QVERIFY(m_view->loadImage(writeImage("big.png", gradient(600, 600))));
        m_view->HScroll->setValue(300);
        m_view->VScroll->setValue(1500);
        QCOMPARE(m_view->imgImage->pos(), QPoint(-20, -100));
        QSignalSpy down(m_view.get(), &ScrollPicture::MouseDown);
        QTest::mousePress(m_view->imgImage, Qt::LeftButton, {}, m_view->imgImage->mapFrom(m_view->imgFondo, QPoint(30, 7)));
        QCOMPARE(down.size(), 1);
        QCOMPARE(down[0][2].toFloat(), 50.f * 15);
        QCOMPARE(down[0][3].toFloat(), 107.f * 15);
    }

    void newImageStartsAtOrigin()
    {
        QVERIFY(m_view->loadImage(writeImage("big.png", gradient(600, 600))));
        m_view->HScroll->setValue(600);
        m_view->VScroll->setValue(600);
        QVERIFY(m_view->imgImage->pos() != QPoint(0, 0));
        // A smaller picture that fits: no bar would ever bring a shifted one back.
        QVERIFY(m_view->loadImage(writeImage("small.png", gradient(50, 50))));
        QCOMPARE(m_view->imgImage->pos(), QPoint(0, 0));
        QVERIFY(m_view->loadImage(writeImage("big2.png", gradient(700, 700))));
        QCOMPARE(m_view->imgImage->pos(), QPoint(0, 0));
    }

    void resizeBringsImageBack()
    {
        QVERIFY(m_view->loadImage(writeImage("big.png", gradient(500, 300))));
        m_view->HScroll->setValue(900);
        QCOMPARE(m_view->imgImage->x(), -60);
        m_view->resize(600, 400);
        QVERIFY(!m_view->HScroll->isVisible());
        QCOMPARE(m_view->imgImage->pos(), QPoint(0, 0));
    }

    void eventsByButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("scaleMode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("left") << int(Qt::LeftButton) << 0 << 1 << "MouseDown 1 0 150 75";
        QTest::newRow("right") << int(Qt::RightButton) << 0 << 1 << "MouseDown 2 0 150 75|ImageClick";
        QTest::newRow("middle") << int(Qt::MiddleButton) << 0 << 1 << "MouseDown 4 0 150 75";
        QTest::newRow("shift+ctrl left") << int(Qt::LeftButton) << int(Qt::ShiftModifier | Qt::ControlModifier) << 1
                                         << "MouseDown 1 3 150 75";
        QTest::newRow("alt right in pixels") << int(Qt::RightButton) << int(Qt::AltModifier) << 3
                                             << "MouseDown 2 4 10 5|ImageClick";
    }
    void eventsByButton()
    {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        QFETCH(int, scaleMode);
        QFETCH(QString, expected);
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(100, 100))));
        m_view->setScaleMode(qint16(scaleMode));
        QStringList events;
        record(events);
        QTest::mousePress(m_view->imgImage, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), QPoint(10, 5));
        QCOMPARE(events.join(QLatin1Char('|')), expected);
    }

    void pressesOutsideImageRaiseNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("grey frame") << "imgFondo";
        QTest::newRow("vertical bar") << "VScroll";
        QTest::newRow("horizontal bar") << "HScroll";
    }
    void pressesOutsideImageRaiseNothing()
    {
        QFETCH(QString, target);
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(500, 50)))); // frame below the image, a bar
        QWidget *widget = m_view->findChild<QWidget *>(target);
        QVERIFY(widget);
        QStringList events;
        record(events);
        const QPoint at = target == QLatin1String("imgFondo") ? QPoint(20, 200) : QPoint(5, 5);
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
        QTest::mousePress(widget, Qt::RightButton, {}, at);
        QTest::mouseRelease(widget, Qt::RightButton, {}, at);
        QCOMPARE(events, QStringList());
    }

    void doubleClicks_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("dblClicks");
        QTest::newRow("image") << "imgImage" << 1;
        QTest::newRow("grey frame") << "imgFondo" << 1;
        QTest::newRow("control surface") << "" << 1;
        QTest::newRow("vertical bar") << "VScroll" << 0;
    }
    void doubleClicks()
    {
        QFETCH(QString, target);
        QFETCH(int, dblClicks);
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(50, 600))));
        QWidget *widget = target.isEmpty() ? m_view.get() : m_view->findChild<QWidget *>(target);
        QVERIFY(widget);
        QSignalSpy dbl(m_view.get(), &ScrollPicture::ImageDblClick);
        QSignalSpy down(m_view.get(), &ScrollPicture::MouseDown);
        // The corner between the bars is the control's own surface.
        const QPoint at = target.isEmpty() ? QPoint(396, 256) : target == QLatin1String("imgFondo") ? QPoint(200, 20)
                                                                                                   : QPoint(5, 30);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
        QCOMPARE(dbl.size(), dblClicks);
        if (target != QLatin1String("imgImage"))
            QCOMPARE(down.size(), 0);
    }

    void loadMissingFileKeepsImage()
    {
        const QString good = writeImage("img.png", gradient(500, 50));
        QVERIFY(m_view->loadImage(good));
        const QImage before = m_view->hDC();
        const int hMax = m_view->HScroll->maximum();
        m_view->HScroll->setValue(300);
        const QPoint position = m_view->imgImage->pos();
        const QString missing = m_tmp->filePath("no such file.png");
        QVERIFY(!m_view->loadImage(missing));
        QCOMPARE(m_view->FileName(), missing);
        QCOMPARE(m_view->hDC(), before);
        QCOMPARE(m_view->imgImage->pos(), position);
        QCOMPARE(m_view->HScroll->maximum(), hMax);
        QCOMPARE(m_view->HScroll->value(), 300);
        QVERIFY(m_view->hasImage());
    }

    void loadUnreadableFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text named .jpg") << "notes.jpg" << QByteArray("just text\n");
        QTest::newRow("metafile") << "drawing.wmf" << QByteArray("\xD7\xCD\xC6\x9A\0\0", 6);
        QTest::newRow("empty .bmp") << "empty.bmp" << QByteArray();
        QTest::newRow("a folder") << "folder.png" << QByteArray();
    }
    void loadUnreadableFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString path = m_tmp->filePath(name);
        if (name.startsWith(QLatin1String("folder")))
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(writeFile(path, content));
        QVERIFY(!m_view->loadImage(path));
        QCOMPARE(m_view->FileName(), path);
        QVERIFY(!m_view->hasImage());
    }

    void transparentPixelsReadAsBackground()
    {
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        image.setPixel(1, 1, qRgba(255, 128, 0, 255));
        QVERIFY(m_view->loadImage(writeImage("alpha.png", image)));
        QCOMPARE(GetPixel(m_view->hDC(), 1, 1), quint32(0x000080FF));
        const QColor base = m_view->palette().color(QPalette::Base);
        QCOMPARE(GetPixel(m_view->hDC(), 0, 0),
                 quint32(base.red()) | quint32(base.green()) << 8 | quint32(base.blue()) << 16);
    }

    void stretchReadsFalse()
    {
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(500, 50))));
        m_view->HScroll->setValue(150);
        m_view->setStretch(true);
        QCOMPARE(m_view->Stretch(), false);
        QCOMPARE(m_view->property("Stretch").toBool(), false);
        QCOMPARE(m_view->HScroll->value(), 0); // recomputed
    }

    void messagesWithoutImage_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("PrintImage") << "PrintImage" << "Scrool picture" << "No existe ninguna imagen";
        QTest::newRow("Save") << "Save" << "Scroll picture" << "No existe ninguna imagen";
        QTest::newRow("Copy") << "Copy" << "Scroll picture" << "No existe niguna imagen.";
    }
    void messagesWithoutImage()
    {
        QFETCH(QString, method);
        QFETCH(QString, title);
        QFETCH(QString, text);
        test::ScriptedPrompter prompter;
        bool printed = false;
        ScrollPicture::setPrintDialogHook([&](QPrinter &, QWidget *) { return printed = true; });
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        const QString target = m_tmp->filePath("out.bmp");
        ScrollPicture fresh;
        QVERIFY(!fresh.hasImage() && fresh.FileName().isEmpty());
        // Before any load the box reads as the window background.
        QVERIFY(GetPixel(fresh.hDC(), 10, 10) != InvalidColour);
        bool result = true;
        if (method == QLatin1String("PrintImage"))
            result = fresh.PrintImage();
        else if (method == QLatin1String("Save"))
            result = fresh.Save(target);
        else
            result = fresh.Copy();
        QVERIFY(!result);
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(prompter.asked[0].kind, QStringLiteral("message"));
        QCOMPARE(prompter.asked[0].icon, Prompter::Icon::Information);
        QCOMPARE(prompter.asked[0].title, title);
        QCOMPARE(prompter.asked[0].text, text);
        QVERIFY(!printed);
        QVERIFY(!QFile::exists(target));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    void saveRoundTrip()
    {
        const QImage picture = gradient(37, 21);
        QVERIFY(m_view->loadImage(writeImage("img.png", picture)));
        const QString target = m_tmp->filePath("copy.bmp");
        QVERIFY(writeFile(target, QByteArray(100000, 'x'))); // an existing, larger file is replaced whole
        QVERIFY(m_view->Save(target));
        QFile written(target);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.read(2), QByteArray("BM"));
        QImage back;
        QVERIFY(back.load(target, "bmp"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(QDir(m_tmp->path()).entryList(QDir::Files).size(), 2); // no temporary left behind
    }

    void saveFailureLeavesTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a folder") << "folder";
        QTest::newRow("missing parent") << "missing/out.bmp";
        QTest::newRow("under /proc") << "/proc/kestrin-out.bmp";
    }
    void saveFailureLeavesTarget()
    {
        QFETCH(QString, target);
        QVERIFY(QDir(m_tmp->path()).mkdir(QStringLiteral("folder")));
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(10, 10))));
        const QString path = target.startsWith(QLatin1Char('/')) ? target : m_tmp->filePath(target);
        test::ScriptedPrompter prompter;
        QVERIFY(!m_view->Save(path));
        QVERIFY(QFileInfo(m_tmp->filePath(QStringLiteral("folder"))).isDir());
        QCOMPARE(prompter.asked.size(), 0);
    }

    void copyRoundTrip()
    {
        const QImage picture = gradient(23, 17);
        QVERIFY(m_view->loadImage(writeImage("img.png", picture)));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QVERIFY(m_view->Copy());
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), picture);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    void print_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("dialog accepted") << true;
        QTest::newRow("dialog cancelled") << false;
    }
    void print()
    {
        QFETCH(bool, accept);
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(120, 80))));
        const QString pdf = m_tmp->filePath("print.pdf");
        test::ScriptedPrompter prompter;
        int asked = 0;
        ScrollPicture::setPrintDialogHook([&](QPrinter &printer, QWidget *parent) {
            ++asked;
            if (!accept || parent != m_view.get())
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QCOMPARE(m_view->PrintImage(), accept);
        QCOMPARE(asked, 1);
        QCOMPARE(prompter.asked.size(), 0);
        QFile file(pdf);
        QCOMPARE(file.open(QIODevice::ReadOnly), accept);
        if (accept) {
            QCOMPARE(file.read(4), QByteArray("%PDF"));
            QVERIFY(file.size() > 1000);
        }
    }

    void hDCReadsShownImage()
    {
        QVERIFY(m_view->loadImage(writeImage("img.png", gradient(300, 300))));
        m_view->HScroll->setValue(600);
        // Image coordinates, whatever the scroll position.
        QCOMPARE(GetPixel(m_view->hDC(), 200, 100), quint32(200 | 100 << 8 | 77 << 16));
        QCOMPARE(GetPixel(m_view->hDC(), 300, 0), InvalidColour);
    }

private:
    QString writeImage(const QString &name, const QImage &image)
    {
        const QString path = m_tmp->filePath(name);
        return image.save(path, "png") ? path : QString();
    }
    static bool writeFile(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    void record(QStringList &events)
    {
        connect(m_view.get(), &ScrollPicture::MouseDown, this, [&events](qint16 b, qint16 s, float x, float y) {
            events << QStringLiteral("MouseDown %1 %2 %3 %4").arg(b).arg(s).arg(double(x)).arg(double(y));
        });
        connect(m_view.get(), &ScrollPicture::ImageClick, this, [&events] { events << QStringLiteral("ImageClick"); });
    }

    std::unique_ptr<QTemporaryDir> m_tmp; // fresh for every test function and row
    std::unique_ptr<ScrollPicture> m_view;
};

KESTRIN_REGISTER_TEST(ScrollPictureTest);

#include "tst_ScrollPicture.moc"
