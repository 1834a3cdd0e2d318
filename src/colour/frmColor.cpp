#include "frmColor.h"

#include "ColourText.h"
#include "controls/GetPixel.h"
#include "controls/PictureSurface.h"
#include "controls/ScrollPicture.h"
#include "common/BgrColor.h"
#include "common/Swatch.h"
#include "common/ToolWindow.h"
#include "common/Twips.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace kestrin {


frmColor *frmColor::instance(bool create) { return sharedToolWindow<frmColor>(create); }

void frmColor::showWindow() { bringForward(this); }

QString frmColor::imageFilter()
{
    QStringList patterns;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    // PNG first: it is what most images are today.
    if (formats.contains("png"))
        patterns << QStringLiteral("*.png");
    for (const QByteArray &format : formats) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format).toLower();
        if (!patterns.contains(pattern))
            patterns << pattern;
    }
    return tr(ImageFilter) + QLatin1Char('|') + tr("All images") + QLatin1Char('|') + patterns.join(QLatin1Char(';'));
}

frmColor::frmColor(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      Co(this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr(Caption));
    setFont(toolWindowFont(false));
    setFixedSize(twipsToPixels(10170), twipsToPixels(5040));

    Picture1 = new PictureSurface(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(tr("Colour palette"));
    Picture1->setGeometry(twipsRect(0, 0, 3855, 3975));
    {
        // The box's own surface: the palette at the top left on the box's background.
        const QColor background = palette().color(QPalette::Window);
        paintSwatch(Picture1, background);
        QImage surface(Picture1->size(), QImage::Format_RGB32);
        surface.fill(background);
        QPainter painter(&surface);
        painter.drawImage(0, 0, QImage(QStringLiteral(":/palette/wheel.png")));
        painter.end();
        Picture1->setSurface(surface);
    }
    Picture1->installEventFilter(this);

    Picture2 = new ScrollPicture(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setScaleMode(3);
    Picture2->setGeometry(twipsRect(3900, 0, 6075, 3975));
    connect(Picture2, &ScrollPicture::MouseDown, this, &frmColor::Picture2_MouseDown);

    P = new QWidget(this);
    P->setObjectName(QStringLiteral("P"));
    P->setAccessibleName(tr("Selected color"));
    paintSwatch(P, palette().color(QPalette::Base));
    P->setGeometry(twipsRect(6720, 4620, 2055, 375));

    Label1 = new QLabel(tr("Selected color:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(toolWindowFont(true));
    Label1->setGeometry(twipsRect(5400, 4740, 1305, 195));

    Command1 = new QPushButton(tr("INSERT"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(tr("INSERT"));
    Command1->setGeometry(twipsRect(8820, 4620, 1275, 375));
    connect(Command1, &QPushButton::clicked, this, &frmColor::Command1_Click);

    Command2 = new QPushButton(tr("SELECT PICTURE"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(tr("SELECT PICTURE"));
    Command2->setGeometry(twipsRect(8040, 4080, 1995, 315));
    connect(Command2, &QPushButton::clicked, this, &frmColor::Command2_Click);

    // The source of the inserted text; it lies below the client area and is never shown, so
    // neither the keyboard nor the mouse can reach it.
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(tr("Selected color text"));
    Text1->setGeometry(twipsRect(1080, 6600, 975, 285));
    Text1->hide();

    Picture1->setFocusPolicy(Qt::StrongFocus);
    P->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(Picture1, Picture2);
    setTabOrder(Picture2, P);
    setTabOrder(P, Label1);
    setTabOrder(Label1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Text1);
}

frmColor::~frmColor() = default;

void frmColor::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

void frmColor::sample(const QImage &surface, QPointF at)
{
    const quint32 colour = pixelAtPointer(surface, at);
    // No pixel there (dragged off the box): the swatch keeps its colour and the text stays.
    if (colour == InvalidColour)
        return;
    m_swatch = colour;
    m_picked = true;
    paintSwatch(P, colorFromBgr(colour));
    Text1->setText(ColorToHex(m_swatch));
}

void frmColor::Picture1_MouseDown(QPointF at)
{
    sample(Picture1->surface(), at);
    PickingColor = true;
}

void frmColor::Picture1_MouseMove(QPointF at)
{
    if (PickingColor)
        sample(Picture1->surface(), at);
}

void frmColor::Picture1_MouseUp()
{
    PickingColor = false;
}

void frmColor::Picture2_MouseDown(qint16, qint16, float X, float Y)
{
    sample(Picture2->hDC(), QPointF(X, Y));
}

void frmColor::Command2_Click()
{
    Co.CancelError = true;
    Co.Filter = imageFilter();
    if (!Co.ShowOpen())
        return;
    Picture2->loadImage(Co.FileName);
}

void frmColor::Command1_Click()
{
    emit insertRequested(Text1->text());
    close();
}

bool frmColor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Picture1_MouseDown(static_cast<QMouseEvent *>(event)->position());
            return true;
        case QEvent::MouseMove:
            Picture1_MouseMove(static_cast<QMouseEvent *>(event)->position());
            return true;
        case QEvent::MouseButtonRelease:
            Picture1_MouseUp();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kestrin
