#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/QuitWhenNoWindows.h"
#include "colour/ColourText.h"
#include "colour/frmColor.h"
#include "controls/GetPixel.h"
#include "controls/ScrollPicture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrin;

namespace {

// What a swatch paints, at its centre.
QColor painted(QWidget *swatch) { return swatch->grab().toImage().pixelColor(swatch->rect().center()); }

struct Rgb {
    int r, g, b;
};

Rgb channels(const QString &text)
{
    return {text.mid(0, 2).toInt(nullptr, 16), text.mid(2, 2).toInt(nullptr, 16), text.mid(4, 2).toInt(nullptr, 16)};
}

// A solid image with one odd pixel, saved under dir; the path it was saved to.
QString savedImage(const QTemporaryDir &dir, const char *name, QSize size, QRgb fill, QPoint at = {}, QRgb odd = 0)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    if (odd)
        image.setPixel(at, odd);
    const QString path = dir.filePath(QLatin1String(name));
    return image.save(path) ? path : QString();
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class frmColorTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_window = frmColor::instance(true);
        m_window->show(); // showWindow() also raises, which the offscreen platform only warns about
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup()
    {
        if (m_window)
            m_window->close();
        flushDeletes();
        QVERIFY(!frmColor::instance(false));
        m_tmp.reset();
    }

    void design()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("COLOR CHOOSER UTILITY"));
        QCOMPARE(m_window->windowType(), Qt::Tool);
        QVERIFY(!(m_window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!m_window->parentWidget());
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(m_window->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!m_window->Text1->isVisible());
        QVERIFY(m_window->Text1->text().isEmpty());
        QVERIFY(!m_window->PickingColor);
        QVERIFY(!m_window->hasPick());
        QCOMPARE(painted(m_window->P), m_window->palette().color(QPalette::Base));
        QVERIFY(m_window->Text1->geometry().top() >= m_window->height());
    }

    void centredOnScreen()
    {
        const QPoint offset = m_window->frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    // The palette's hues sit where the wheel has them.
    void wheelHues_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("r"); // 0 low, 1 high, 2 near zero
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::newRow("centre near black") << QPoint(128, 128) << 2 << 2 << 2;
        QTest::newRow("bottom red") << QPoint(128, 192) << 1 << 0 << 0;
        QTest::newRow("right yellow") << QPoint(192, 128) << 1 << 1 << 0;
        QTest::newRow("upper right green") << QPoint(173, 83) << 0 << 1 << 0;
        QTest::newRow("top cyan") << QPoint(128, 64) << 0 << 1 << 1;
        QTest::newRow("upper left blue") << QPoint(83, 83) << 0 << 0 << 1;
        QTest::newRow("left magenta") << QPoint(64, 128) << 1 << 0 << 1;
        QTest::newRow("rim white") << QPoint(128, 254) << 1 << 1 << 1;
        QTest::newRow("corner white") << QPoint(2, 2) << 1 << 1 << 1;
    }
    void wheelHues()
    {
        QFETCH(QPoint, at);
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QTest::mousePress(m_window->Picture1, Qt::LeftButton, {}, at);
        QVERIFY(m_window->PickingColor);
        const QString text = m_window->Text1->text();
        const Rgb c = channels(text);
        const auto matches = [](int want, int value) { return want == 2 ? value <= 8 : want ? value >= 0xE0 : value <= 0x30; };
        QVERIFY2(matches(r, c.r) && matches(g, c.g) && matches(b, c.b), qPrintable(text));
        // The swatch shows the same pick.
        const quint32 value = m_window->swatchColour();
        const QColor shown = painted(m_window->P);
        QCOMPARE(quint32(shown.red() | shown.green() << 8 | shown.blue() << 16), value);
        QCOMPARE(text, ColorToHex(value));
        QTest::mouseRelease(m_window->Picture1, Qt::LeftButton, {}, at);
        QVERIFY(!m_window->PickingColor);
    }

    void marginShowsBoxBackground()
    {
        // Picture1 is 257 x 265 px; below and beside the 256 x 256 palette is the box's own colour.
        QTest::mousePress(m_window->Picture1, Qt::RightButton, {}, QPoint(100, 260));
        const QColor box = m_window->Picture1->palette().color(QPalette::Window);
        QCOMPARE(m_window->Text1->text(), QColor(box).name().mid(1).toUpper());
        QTest::mouseRelease(m_window->Picture1, Qt::RightButton, {}, QPoint(100, 260));
    }

    void pressDragRelease()
    {
        QWidget *box = m_window->Picture1;
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(128, 128));
        const QString atCentre = m_window->Text1->text();
        QTest::mouseMove(box, QPoint(128, 180));
        const QString dragged = m_window->Text1->text();
        QVERIFY(dragged != atCentre);
        QVERIFY(channels(dragged).r > channels(atCentre).r);
        // Off the box with the button still held: nothing changes.
        const quint32 swatch = m_window->swatchColour();
        const QColor shown = painted(m_window->P);
        QTest::mouseMove(box, QPoint(-40, 300));
        QCOMPARE(m_window->Text1->text(), dragged);
        QCOMPARE(m_window->swatchColour(), swatch);
        QCOMPARE(painted(m_window->P), shown);
        QVERIFY(m_window->PickingColor);
        QTest::mouseMove(box, QPoint(192, 128));
        QVERIFY(m_window->Text1->text() != dragged);
        const QString beforeRelease = m_window->Text1->text();
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(192, 128));
        QVERIFY(!m_window->PickingColor);
        m_window->Picture1_MouseMove(QPointF(64, 128)); // a move without the button
        QCOMPARE(m_window->Text1->text(), beforeRelease);
    }

    void imagePixelGivesItsText()
    {
        const QString path = savedImage(*m_tmp, "orange.png", {40, 30}, qRgb(0, 0, 255), {10, 12}, qRgb(255, 128, 0));
        test::ScriptedPrompter prompter;
        prompter.answerFile(path);
        m_window->Command2_Click();
        QCOMPARE(prompter.asked.size(), 1);
        const Prompter::FileRequest request = prompter.asked[0].file;
        QVERIFY(!request.save);
        QVERIFY(request.title.isEmpty());
        QCOMPARE(request.filter, frmColor::imageFilter());
        QVERIFY(m_window->Co.CancelError);
        QCOMPARE(m_window->Picture2->FileName(), path);
        QTest::mousePress(m_window->Picture2->imgImage, Qt::LeftButton, {}, QPoint(10, 12));
        QCOMPARE(m_window->Text1->text(), QStringLiteral("FF8000"));
        QCOMPARE(m_window->swatchColour(), quint32(33023));
        // One sample per press: moving with the button held picks nothing more.
        QTest::mouseMove(m_window->Picture2->imgImage, QPoint(20, 20));
        QCOMPARE(m_window->Text1->text(), QStringLiteral("FF8000"));
        QTest::mouseRelease(m_window->Picture2->imgImage, Qt::LeftButton, {}, QPoint(20, 20));
    }

    void scrolledImageSamplesUnderPointer()
    {
        QVERIFY(m_window->Picture2->loadImage(savedImage(*m_tmp, "large.png", {1200, 900}, qRgb(0, 0, 0), {700, 500}, qRgb(18, 52, 86))));
        m_window->Picture2->HScroll->setValue(9000); // 600 px
        m_window->Picture2->VScroll->setValue(6000); // 400 px
        ScrollPicture *viewer = m_window->Picture2;
        const QPoint onFrame = viewer->imgImage->mapTo(viewer->imgFondo, QPoint(700, 500));
        QCOMPARE(onFrame, QPoint(100, 100));
        QTest::mousePress(viewer->imgImage, Qt::LeftButton, {}, viewer->imgImage->mapFrom(viewer->imgFondo, onFrame));
        QCOMPARE(m_window->Text1->text(), QStringLiteral("123456"));
    }

    void greyBackgroundSamplesNothing()
    {
        QVERIFY(m_window->Picture2->loadImage(savedImage(*m_tmp, "small.png", {20, 20}, qRgb(255, 0, 0))));
        QTest::mousePress(m_window->Picture2->imgFondo, Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(m_window->Text1->text().isEmpty());
        QVERIFY(!m_window->hasPick());
        QTest::mousePress(m_window->Picture2->imgImage, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(m_window->Text1->text(), QStringLiteral("FF0000"));
    }

    void cancelledOrFailedChoiceKeepsViewer_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("unreadable file") << false;
    }
    void cancelledOrFailedChoiceKeepsViewer()
    {
        QFETCH(bool, cancel);
        const QString path = savedImage(*m_tmp, "first.png", {50, 40}, qRgb(1, 2, 3));
        QVERIFY(m_window->Picture2->loadImage(path));
        const QImage image = m_window->Picture2->hDC();
        m_window->Picture1_MouseDown(QPointF(128, 192));
        const QString text = m_window->Text1->text();
        const QString bad = m_tmp->filePath(QStringLiteral("bad.gif"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("GIF8 but not really") > 0);
        file.close();
        test::ScriptedPrompter prompter;
        prompter.answerFile(cancel ? std::nullopt : std::optional<QString>(bad));
        m_window->Command2_Click();
        QVERIFY(prompter.allAnswersUsed());
        QCOMPARE(prompter.asked.size(), 1); // no message either way
        QCOMPARE(m_window->Picture2->hDC(), image);
        QCOMPARE(m_window->Text1->text(), text);
    }

    // "INSERT" hands over the pick (nothing before one) and closes the window.
    void insert_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<QString>("text");
        QTest::newRow("before any pick") << false << QString();
        QTest::newRow("after a white pick") << true << QStringLiteral("FFFFFF");
    }
    void insert()
    {
        QFETCH(bool, pick);
        QFETCH(QString, text);
        QPointer<frmColor> window = m_window;
        QSignalSpy inserted(window.data(), &frmColor::insertRequested);
        if (pick) {
            window->Picture1_MouseDown(QPointF(2, 2));
            window->Picture1_MouseUp();
        }
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][0].toString(), text);
        QVERIFY(!window->isVisible());
        flushDeletes();
        QVERIFY(!window);
    }

    void singleInstanceFreshAfterClose()
    {
        QCOMPARE(frmColor::instance(false), m_window.data());
        QCOMPARE(frmColor::instance(true), m_window.data());
        m_window->Picture1_MouseDown(QPointF(128, 192));
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
        m_window->showWindow(); // pressing the button again only brings it forward
        QCOMPARE(frmColor::instance(false), m_window.data());
        QVERIFY(m_window->hasPick());
        // With quitting left to QuitWhenNoWindows, the tool window alone keeps the program running.
        QVERIFY(QuitWhenNoWindows::anyWindowShown());
        m_window->close();
        flushDeletes();
        QVERIFY(!m_window);
        QVERIFY(!QuitWhenNoWindows::anyWindowShown());
        QVERIFY(!frmColor::instance(false));
        m_window = frmColor::instance(true);
        QVERIFY(!m_window->hasPick());
        QVERIFY(m_window->Text1->text().isEmpty());
        QVERIFY(!m_window->Picture2->hasImage());
    }

    void filterListsReadableFormats()
    {
        const QStringList parts = frmColor::imageFilter().split(QLatin1Char('|'));
        QCOMPARE(parts.size(), 4);
        QStringList patterns = parts[3].split(QLatin1Char(';'));
        for (const char *needed : {"*.png", "*.jpg", "*.jpeg", "*.bmp", "*.gif"})
            QVERIFY2(patterns.contains(QLatin1String(needed)), needed);
        QCOMPARE(patterns.removeDuplicates(), 0);
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QPointer<frmColor> m_window;
};

KESTRIN_REGISTER_TEST(frmColorTest);

#include "tst_frmColor.moc"
