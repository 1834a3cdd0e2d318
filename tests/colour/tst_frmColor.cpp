#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/QuitWhenNoWindows.h"
#include "colour/ColourText.h"
#include "colour/frmColor.h"
#include "controls/ScrollPicture.h"

#include <QtTest>
#include <QtWidgets>

using namespace kestrin;

class frmColorTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QPointer<frmColor> m_window;

    // What the swatch paints, at its centre, as a colour value (BGR).
    quint32 swatch() const
    {
        const QColor c = m_window->P->grab().toImage().pixelColor(m_window->P->rect().center());
        return quint32(c.red() | c.green() << 8 | c.blue() << 16);
    }
    // "INSERT" hands over the pick and closes the window.
    bool inserted(const QString &pick)
    {
        QSignalSpy spy(m_window.data(), &frmColor::insertRequested);
        QTest::mouseClick(m_window->Command1, Qt::LeftButton);
        flushDeletes();
        return spy.size() == 1 && spy[0][0].toString() == pick && !m_window;
    }
    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
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
    }

    // What the tool windows share (tested here for both): one owner-less instance of fixed size,
    // centred, brought forward when asked again, gone on close and made afresh; it alone keeps the
    // program running.
    void toolWindow()
    {
        QVERIFY(m_window->windowType() == Qt::Tool && !m_window->parentWidget());
        QVERIFY(!(m_window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        const QPoint offset = m_window->frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        const QColor base = m_window->palette().color(QPalette::Base);
        QCOMPARE(swatch(), quint32(base.red() | base.green() << 8 | base.blue() << 16));
        m_window->Picture1_MouseDown(QPointF(128, 192));
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
        m_window->showWindow();
        QCOMPARE(frmColor::instance(true), m_window.data());
        QVERIFY(m_window->hasPick() && QuitWhenNoWindows::anyWindowShown());
        m_window->close();
        flushDeletes();
        QVERIFY(!m_window && !QuitWhenNoWindows::anyWindowShown());
        m_window = frmColor::instance(true);
        QVERIFY(!m_window->hasPick() && m_window->Text1->text().isEmpty() && !m_window->Picture2->hasImage());
        QVERIFY(inserted(QString())); // nothing picked yet
    }

    // The palette sits at the top left of its box, the box's own colour around it; a press
    // picks into the swatch and the RRGGBB text, a drag picks on, off the box nothing changes,
    // and after the release moves pick nothing.
    void palettePick()
    {
        QWidget *box = m_window->Picture1;
        const auto pick = [&](QPoint at) {
            QTest::mouseMove(box, at);
            return m_window->Text1->text() == ColorToHex(m_window->swatchColour()) && swatch() == m_window->swatchColour()
                       ? m_window->Text1->text() : QStringLiteral("swatch and text differ");
        };
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(128, 128));
        QVERIFY(pick(QPoint(128, 128)).toUInt(nullptr, 16) <= 0x080808); // the centre is black
        QVERIFY(pick(QPoint(128, 192)).contains(QRegularExpression("^[E-F].[0-3].[0-3].$"))); // red below
        QVERIFY(pick(QPoint(128, 64)).contains(QRegularExpression("^[0-3].[E-F].[E-F].$"))); // cyan above
        QCOMPARE(pick(QPoint(2, 2)), QStringLiteral("FFFFFF"));
        QCOMPARE(pick(QPoint(-40, 300)), QStringLiteral("FFFFFF"));
        QCOMPARE(pick(QPoint(100, 260)), box->palette().color(QPalette::Window).name().mid(1).toUpper());
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(100, 260));
        m_window->Picture1_MouseMove(QPointF(128, 128));
        QCOMPARE(m_window->Text1->text(), box->palette().color(QPalette::Window).name().mid(1).toUpper());
        QVERIFY(inserted(m_window->Text1->text()));
    }

    // SELECT PICTURE asks for an image file; a press on the picture samples one pixel, a drag no
    // more. A cancelled choice keeps the picture.
    void selectPicture_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("an image") << "second.png";
        QTest::newRow("cancelled") << "";
    }
    void selectPicture()
    {
        QFETCH(QString, answer);
        for (auto [name, odd] : {std::pair{"first.png", qRgb(1, 2, 3)}, {"second.png", qRgb(255, 128, 0)}}) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(Qt::blue);
            image.setPixel(10, 12, odd);
            QVERIFY(image.save(m_tmp.filePath(name)));
        }
        QVERIFY(m_window->Picture2->loadImage(m_tmp.filePath("first.png")));
        test::ScriptedPrompter prompter;
        prompter.answerFile(answer.isEmpty() ? std::nullopt : std::optional<QString>(m_tmp.filePath(answer)));
        m_window->Command2_Click();
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(!prompter.asked[0].file.save && m_window->Co.CancelError);
        const QStringList filter = prompter.asked[0].file.filter.split('|'); // name|patterns pairs, all images last
        QVERIFY(filter.size() == 4 && filter[2] == "All images" && filter[3].split(';').contains("*.png") && filter[1].endsWith("*.wmf"));
        QTest::mousePress(m_window->Picture2->imgImage, Qt::LeftButton, {}, QPoint(10, 12));
        QTest::mouseMove(m_window->Picture2->imgImage, QPoint(20, 20));
        QCOMPARE(m_window->Text1->text(), answer == "second.png" ? QStringLiteral("FF8000") : QStringLiteral("010203"));
    }
};

KESTRIN_REGISTER_TEST(frmColorTest);

#include "tst_frmColor.moc"
