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

struct Rgb {
    int r, g, b;
};

Rgb channels(const QString &text)
{
    return {text.mid(0, 2).toInt(nullptr, 16), text.mid(2, 2).toInt(nullptr, 16), text.mid(4, 2).toInt(nullptr, 16)};
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
        QCOMPARE(m_window->size(), QSize(678, 336));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(m_window->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(m_window->Label1->text(), QStringLiteral("Selected color:"));
        QVERIFY(m_window->Label1->font().bold());
        QCOMPARE(m_window->Label1->font().pointSizeF(), 8.25);
        QCOMPARE(m_window->Command1->text(), QStringLiteral("INSERT"));
        QCOMPARE(m_window->Command2->text(), QStringLiteral("SELECT PICTURE"));
        QCOMPARE(m_window->Picture2->ScaleMode(), qint16(3));
        QVERIFY(!m_window->Text1->isVisible());
        QVERIFY(m_window->Text1->text().isEmpty());
        QVERIFY(!m_window->PickingColor);
        QVERIFY(!m_window->hasPick());
        QCOMPARE(m_window->P->palette().color(QPalette::Window), m_window->palette().color(QPalette::Base));
        // Design rectangles, twips / 15.
        QCOMPARE(m_window->Picture1->geometry(), QRect(0, 0, 257, 265));
        QCOMPARE(m_window->Picture2->geometry(), QRect(260, 0, 405, 265));
        QCOMPARE(m_window->P->geometry(), QRect(448, 308, 137, 25));
        QCOMPARE(m_window->Label1->geometry(), QRect(360, 316, 87, 13));
        QCOMPARE(m_window->Command1->geometry(), QRect(588, 308, 85, 25));
        QCOMPARE(m_window->Command2->geometry(), QRect(536, 272, 133, 21));
        QVERIFY(m_window->Text1->geometry().top() >= m_window->height());
    }

    void centredOnScreen()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint offset = m_window->frameGeometry().center() - screen.center();
        QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void wheelCentreIsNearBlack()
    {
        QTest::mousePress(m_window->Picture1, Qt::LeftButton, {}, QPoint(128, 128));
        QVERIFY(m_window->PickingColor);
        const Rgb c = channels(m_window->Text1->text());
        QVERIFY2(c.r <= 8 && c.g <= 8 && c.b <= 8, qPrintable(m_window->Text1->text()));
        QCOMPARE(m_window->Text1->text(), ColorToHex(m_window->swatchColour()));
        QTest::mouseRelease(m_window->Picture1, Qt::LeftButton, {}, QPoint(128, 128));
        QVERIFY(!m_window->PickingColor);
    }

    // The palette's hues sit where the wheel has them.
    void wheelHues_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("r"); // 0 low, 1 high, -1 either
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
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
        const QString text = m_window->Text1->text();
        const Rgb c = channels(text);
        const auto matches = [](int want, int value) { return want < 0 || (want ? value >= 0xE0 : value <= 0x30); };
        QVERIFY2(matches(r, c.r) && matches(g, c.g) && matches(b, c.b), qPrintable(text));
        QTest::mouseRelease(m_window->Picture1, Qt::LeftButton, {}, at);
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
        const QColor shown = m_window->P->palette().color(QPalette::Window);
        QTest::mouseMove(box, QPoint(-40, 300));
        QCOMPARE(m_window->Text1->text(), dragged);
        QCOMPARE(m_window->swatchColour(), swatch);
        QCOMPARE(m_window->P->palette().color(QPalette::Window), shown);
        QVERIFY(m_window->PickingColor);
        QTest::mouseMove(box, QPoint(192, 128));
        QVERIFY(m_window->Text1->text() != dragged);
        const QString beforeRelease = m_window->Text1->text();
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(192, 128));
        QVERIFY(!m_window->PickingColor);
        m_window->Picture1_MouseMove(QPointF(64, 128)); // a move without the button
        QCOMPARE(m_window->Text1->text(), beforeRelease);
    }

    void swatchTakesThePick()
    {
        m_window->Picture1_MouseDown(QPointF(128, 192));
        const quint32 value = m_window->swatchColour();
        const QColor shown = m_window->P->palette().color(QPalette::Window);
        QCOMPARE(quint32(shown.red() | shown.green() << 8 | shown.blue() << 16), value);
        QCOMPARE(m_window->Text1->text(), ColorToHex(value));
    }

    void imagePixelGivesItsText()
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(qRgb(0, 0, 255));
        image.setPixel(10, 12, qRgb(255, 128, 0));
        const QString path = m_tmp->filePath(QStringLiteral("orange.png"));
        QVERIFY(image.save(path));
        test::ScriptedPrompter prompter;
        prompter.answerFile(path);
        m_window->Command2_Click();
        QCOMPARE(prompter.asked.size(), 1);
        const Prompter::FileRequest request = prompter.asked[0].file;
        QVERIFY(!request.save);
        QVERIFY(request.title.isEmpty());
        QVERIFY(request.filter.startsWith(QStringLiteral("Images|*.jpg;*.bmp;*.gif;*.wmf|All images|*.png;")));
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
        QImage image(1200, 900, QImage::Format_RGB32);
        image.fill(qRgb(0, 0, 0));
        image.setPixel(700, 500, qRgb(18, 52, 86));
        const QString path = m_tmp->filePath(QStringLiteral("large.png"));
        QVERIFY(image.save(path));
        QVERIFY(m_window->Picture2->loadImage(path));
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
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 0));
        const QString path = m_tmp->filePath(QStringLiteral("small.png"));
        QVERIFY(image.save(path));
        QVERIFY(m_window->Picture2->loadImage(path));
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
        QImage image(50, 40, QImage::Format_RGB32);
        image.fill(qRgb(1, 2, 3));
        const QString path = m_tmp->filePath(QStringLiteral("first.png"));
        QVERIFY(image.save(path));
        QVERIFY(m_window->Picture2->loadImage(path));
        m_window->Picture1_MouseDown(QPointF(128, 192));
        const QString text = m_window->Text1->text();
        const QString bad = m_tmp->filePath(QStringLiteral("bad.gif"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("GIF8 but not really");
        file.close();
        test::ScriptedPrompter prompter;
        prompter.answerFile(cancel ? std::nullopt : std::optional<QString>(bad));
        m_window->Command2_Click();
        QVERIFY(prompter.allAnswersUsed());
        QCOMPARE(prompter.asked.size(), 1); // no message either way
        QCOMPARE(m_window->Picture2->hDC(), image);
        QCOMPARE(m_window->Text1->text(), text);
    }

    void insertBeforeAnyPick()
    {
        QPointer<frmColor> window = m_window;
        QSignalSpy inserted(window.data(), &frmColor::insertRequested);
        QTest::mouseClick(window->Command1, Qt::LeftButton);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][0].toString(), QString());
        flushDeletes();
        QVERIFY(!window);
    }

    void insertAfterPick()
    {
        QPointer<frmColor> window = m_window;
        QSignalSpy inserted(window.data(), &frmColor::insertRequested);
        window->Picture1_MouseDown(QPointF(2, 2));
        window->Picture1_MouseUp();
        window->Command1_Click();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][0].toString(), QStringLiteral("FFFFFF"));
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
        m_window->close();
        flushDeletes();
        QVERIFY(!m_window);
        QVERIFY(!frmColor::instance(false));
        m_window = frmColor::instance(true);
        QVERIFY(!m_window->hasPick());
        QVERIFY(m_window->Text1->text().isEmpty());
        QVERIFY(!m_window->Picture2->hasImage());
    }

    // With quitting left to QuitWhenNoWindows, the tool window alone keeps the program running.
    void toolWindowCountsAsShown()
    {
        QVERIFY(QuitWhenNoWindows::anyWindowShown());
        m_window->close();
        flushDeletes();
        QVERIFY(!QuitWhenNoWindows::anyWindowShown());
    }

    void filterListsReadableFormats()
    {
        const QString filter = frmColor::imageFilter();
        const QStringList parts = filter.split(QLatin1Char('|'));
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts[0], QStringLiteral("Images"));
        QCOMPARE(parts[1], QStringLiteral("*.jpg;*.bmp;*.gif;*.wmf"));
        QCOMPARE(parts[2], QStringLiteral("All images"));
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
