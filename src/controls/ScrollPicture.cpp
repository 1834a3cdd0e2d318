#include "ScrollPicture.h"

#include "ScrollPictureLayout.h"
#include "common/Prompter.h"
#include "common/ShiftState.h"
#include "common/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QImageReader>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollBar>

namespace kestrin {

namespace {

ScrollPicture::PrintDialogHook &printDialogHook()
{
    static ScrollPicture::PrintDialogHook hook;
    return hook;
}

bool runPrintDialog(QPrinter &printer, QWidget *parent)
{
    if (printDialogHook())
        return printDialogHook()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

qint16 buttonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

QPalette withBackground(const QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    return palette;
}

} // namespace

void ScrollPicture::setPrintDialogHook(PrintDialogHook hook)
{
    printDialogHook() = std::move(hook);
}

ScrollPicture::ScrollPicture(QWidget *parent)
    : QWidget(parent),
      m_imageWidth(ScrollPictureMetrics::DesignImageWidth),
      m_imageHeight(ScrollPictureMetrics::DesignImageHeight)
{
    setAccessibleName(tr("Image viewer"));
    setMinimumSize(twipsToPixels(ScrollPictureMetrics::MinimumSize), twipsToPixels(ScrollPictureMetrics::MinimumSize));

    HScroll = new QScrollBar(Qt::Horizontal, this);
    HScroll->setObjectName(QStringLiteral("HScroll"));
    HScroll->setAccessibleName(tr("Scroll the image sideways"));
    HScroll->setGeometry(twipsRect(0, 4380, 7500, ScrollPictureMetrics::BarThickness));

    VScroll = new QScrollBar(Qt::Vertical, this);
    VScroll->setObjectName(QStringLiteral("VScroll"));
    VScroll->setAccessibleName(tr("Scroll the image up and down"));
    VScroll->setGeometry(twipsRect(7530, 0, ScrollPictureMetrics::BarThickness, 4335));

    imgFondo = new QWidget(this);
    imgFondo->setObjectName(QStringLiteral("imgFondo"));
    imgFondo->setAccessibleName(tr("Image frame"));
    imgFondo->setAutoFillBackground(true);
    imgFondo->setPalette(withBackground(imgFondo, QColor(128, 128, 128)));
    imgFondo->setGeometry(twipsRect(0, 0, 7515, 4335));

    imgImage = new PictureSurface(imgFondo);
    imgImage->setObjectName(QStringLiteral("imgImage"));
    imgImage->setAccessibleName(tr("Image"));
    imgImage->setPalette(withBackground(imgImage, palette().color(QPalette::Base)));
    imgImage->setGeometry(twipsRect(0, 0, m_imageWidth, m_imageHeight));
    // Until a picture is loaded the box shows (and reads as) the window-background colour.
    QImage blank(imgImage->size(), QImage::Format_RGB32);
    blank.fill(palette().color(QPalette::Base));
    imgImage->setSurface(blank);

    for (QWidget *w : {static_cast<QWidget *>(HScroll), static_cast<QWidget *>(VScroll), imgFondo,
                       static_cast<QWidget *>(imgImage)})
        w->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(HScroll, VScroll);
    setTabOrder(VScroll, imgFondo);
    setTabOrder(imgFondo, imgImage);

    // The image moves when a change is complete, not while the thumb is dragged.
    VScroll->setTracking(false);
    HScroll->setTracking(false);
    connect(VScroll, &QScrollBar::valueChanged, this, &ScrollPicture::VScroll_Change);
    connect(HScroll, &QScrollBar::valueChanged, this, &ScrollPicture::HScroll_Change);

    imgFondo->installEventFilter(this);
    imgImage->installEventFilter(this);

    resize(twipsToPixels(7785), twipsToPixels(4635));
    UserControl_Resize();
}

void ScrollPicture::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void ScrollPicture::UserControl_Resize()
{
    const ScrollPictureLayout layout = layoutScrollPicture(pixelsToTwips(width()), pixelsToTwips(height()));
    if (layout.newWidth) {
        resize(twipsToPixels(*layout.newWidth), height());
        return;
    }
    if (layout.newHeight) {
        resize(width(), twipsToPixels(*layout.newHeight));
        return;
    }
    m_fondoWidth = layout.imgFondo.width();
    m_fondoHeight = layout.imgFondo.height();
    imgFondo->setGeometry(twipsRect(layout.imgFondo.x(), layout.imgFondo.y(), m_fondoWidth, m_fondoHeight));
    VScroll->setGeometry(twipsRect(layout.VScroll.x(), layout.VScroll.y(), layout.VScroll.width(), layout.VScroll.height()));
    HScroll->setGeometry(twipsRect(layout.HScroll.x(), layout.HScroll.y(), layout.HScroll.width(), layout.HScroll.height()));
    UpdateScrollBars();
}

void ScrollPicture::UpdateScrollBars()
{
    const auto apply = [](QScrollBar *bar, double frame, double image) {
        bar->setValue(0);
        bar->setMinimum(0);
        // A range beyond 32 bits (no loadable image) leaves the bar as it was.
        if (const auto settings = scrollBarSettings(frame, image)) {
            bar->setMaximum(settings->maximum);
            bar->setSingleStep(settings->smallStep);
            bar->setPageStep(settings->largeStep);
            bar->setHidden(!settings->visible);
        }
        bar->update();
    };
    apply(VScroll, m_fondoHeight, m_imageHeight);
    apply(HScroll, m_fondoWidth, m_imageWidth);
    // Both bars read 0 now, and so does the image's position: an image that fits after a resize
    // must not stay pushed out of the frame with no bar left to bring it back.
    placeImage(0, 0);

    if (imgFondo->isVisible()) {
        QWidget *focused = window()->focusWidget();
        if (focused && !isAncestorOf(focused))
            focused = nullptr;
        imgFondo->setFocus();
        if (focused && focused != VScroll && focused != HScroll)
            focused->setFocus();
    }
}

void ScrollPicture::placeImage(int leftTwips, int topTwips)
{
    imgImage->move(twipsToPixels(leftTwips), twipsToPixels(topTwips));
}

void ScrollPicture::VScroll_Change(int value)
{
    if (m_imageHeight > m_fondoHeight)
        placeImage(pixelsToTwips(imgImage->x()) , -value);
}

void ScrollPicture::HScroll_Change(int value)
{
    if (m_imageWidth > m_fondoWidth)
        placeImage(-value, pixelsToTwips(imgImage->y()));
}

bool ScrollPicture::loadImage(const QString &strFileName)
{
    QImageReader reader(strFileName);
    QImage picture = reader.read();
    m_fileName = strFileName;
    if (picture.isNull())
        return false;

    // What the box shows: the picture over the window-background colour (transparent parts too).
    QImage shown(picture.size(), QImage::Format_RGB32);
    shown.fill(palette().color(QPalette::Base));
    {
        QPainter painter(&shown);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(0, 0, picture);
    }
    m_picture = picture;
    m_hasImage = true;
    imgImage->setSurface(shown);
    m_imageWidth = pixelsToTwips(picture.width());
    m_imageHeight = pixelsToTwips(picture.height());
    imgImage->resize(picture.size());
    UpdateScrollBars();
    return true;
}

void ScrollPicture::setStretch(bool)
{
    UpdateScrollBars();
}

void ScrollPicture::setScaleMode(qint16 New_ScaleMode)
{
    m_scaleMode = New_ScaleMode;
}

bool ScrollPicture::PrintImage()
{
    if (!m_hasImage) {
        Prompter::instance().message(this, Prompter::Icon::Information, tr("Scrool picture"),
                                     tr("No existe ninguna imagen"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_fileName.isEmpty() ? tr("Image") : m_fileName);
    if (!runPrintDialog(printer, this))
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QImage &shown = imgImage->surface();
    // Natural size at screen resolution, shrunk to the page when larger.
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    QSizeF size = QSizeF(shown.size()) * (printer.resolution() / 96.0);
    if (size.width() > page.width() || size.height() > page.height())
        size.scale(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(QPointF(0, 0), size), shown);
    return painter.end();
}

bool ScrollPicture::Save(const QString &strFileName)
{
    if (!m_hasImage) {
        Prompter::instance().message(this, Prompter::Icon::Information, tr("Scroll picture"),
                                     tr("No existe ninguna imagen"));
        return false;
    }
    QSaveFile file(strFileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "bmp");
    if (!writer.write(imgImage->surface())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool ScrollPicture::Copy()
{
    if (!m_hasImage) {
        Prompter::instance().message(this, Prompter::Icon::Information, tr("Scroll picture"),
                                     tr("No existe niguna imagen."));
        return false;
    }
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    QApplication::processEvents();
    clipboard->setImage(m_picture);
    QApplication::processEvents();
    return true;
}

void ScrollPicture::imgImage_MouseDown(QMouseEvent *event)
{
    const QPointF at = event->position();
    const double unitX = twipsPerScaleUnit(m_scaleMode, false);
    const double unitY = twipsPerScaleUnit(m_scaleMode, true);
    const qint16 button = buttonNumber(event->button());
    emit MouseDown(button, qint16(shiftState(event->modifiers())), float(at.x() * TwipsPerPixel / unitX),
                   float(at.y() * TwipsPerPixel / unitY));
    if (button == 2)
        emit ImageClick();
}

bool ScrollPicture::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == imgImage || watched == imgFondo) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            // Presses on the grey frame raise nothing, and go no further.
            if (watched == imgImage)
                imgImage_MouseDown(static_cast<QMouseEvent *>(event));
            return true;
        case QEvent::MouseButtonDblClick:
            emit ImageDblClick();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ScrollPicture::mousePressEvent(QMouseEvent *event)
{
    // The control's own surface: nothing to report, and the host must not see it either.
    event->accept();
}

void ScrollPicture::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit ImageDblClick();
}

} // namespace kestrin
