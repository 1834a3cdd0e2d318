#pragma once
// ScrollPicture: an image at its natural size inside a grey frame, with scroll bars that appear
// only when the image is larger than the frame. It reports presses and double-clicks on the image,
// hands out the shown picture for pixel reads, and saves, copies and prints the image.
#include "PictureSurface.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

class QPrinter;
class QScrollBar;

namespace kestrin {

class ScrollPicture : public QWidget {
    Q_OBJECT
    // Unit of the MouseDown coordinates: 1 twips (default), 3 pixels, other scale modes by number.
    Q_PROPERTY(qint16 ScaleMode READ ScaleMode WRITE setScaleMode DESIGNABLE true STORED true)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch DESIGNABLE false STORED false)
    Q_PROPERTY(QString FileName READ FileName STORED false)

public:
    explicit ScrollPicture(QWidget *parent = nullptr);

    // Loads the picture and shows it at 0, 0; false (and nothing changed) when the file cannot be
    // read as an image. The path becomes FileName in either case.
    bool loadImage(const QString &strFileName);
    // Nothing is ever stretched: writing recomputes the bars, reading gives false.
    bool Stretch() const { return false; }
    void setStretch(bool blnStretch);
    // Prints the image through the print dialog; true when a page was printed. Without an image it
    // tells the user so and returns false.
    bool PrintImage();
    // Writes the shown image as a BMP file, replacing the file only once it is complete. False on
    // failure, and without an image (after telling the user).
    bool Save(const QString &strFileName);
    // Puts the image on the clipboard; false without an image (after telling the user).
    bool Copy();
    // The path most recently given to loadImage.
    QString FileName() const { return m_fileName; }
    // The drawing surface of imgImage: what is shown there, for GetPixel.
    const QImage &hDC() const { return imgImage->surface(); }
    qint16 ScaleMode() const { return m_scaleMode; }
    void setScaleMode(qint16 New_ScaleMode);

    // True once an image was loaded successfully.
    bool hasImage() const { return m_hasImage; }

    // The print dialog: fills in the printer and returns true to print. Tests install their own;
    // an empty hook restores the real dialog.
    using PrintDialogHook = std::function<bool(QPrinter &printer, QWidget *parent)>;
    static void setPrintDialogHook(PrintDialogHook hook);

    QWidget *imgFondo = nullptr;
    PictureSurface *imgImage = nullptr;
    QScrollBar *VScroll = nullptr;
    QScrollBar *HScroll = nullptr;

signals:
    void ImageClick();
    void ImageDblClick();
    // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 ctrl, 4 alt; X and Y in the image's own
    // coordinates in the ScaleMode unit, whatever the scroll position.
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void UserControl_Resize();
    void UpdateScrollBars();
    void VScroll_Change(int value);
    void HScroll_Change(int value);
    void imgImage_MouseDown(QMouseEvent *event);
    void placeImage(int leftTwips, int topTwips);

    QString m_fileName;
    QImage m_picture;           // as loaded, for the clipboard
    bool m_hasImage = false;
    qint16 m_scaleMode = 1;
    int m_imageWidth;           // imgImage's size in twips
    int m_imageHeight;
    int m_fondoWidth = 0;       // imgFondo's size in twips, as last laid out
    int m_fondoHeight = 0;
};

} // namespace kestrin
