#pragma once
// The colour chooser: a tool window that picks a colour from a colour wheel or from an image and
// hands it on as colour text (RRGGBB).
//
// Use from the editor window (one shared instance, fresh after every close):
//     frmColor *w = frmColor::instance(true);
//     connect(w, &frmColor::insertRequested, this, &frmEdit::insertColourText, Qt::UniqueConnection);
//     w->showWindow();
// INSERT emits insertRequested(text) and then closes (and deletes) the window.
#include "common/CommonDialog.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrin {

class PictureSurface;
class ScrollPicture;

class frmColor : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *Caption = QT_TR_NOOP("COLOR CHOOSER UTILITY");
    static constexpr const char *ImageFilter = QT_TR_NOOP("Images|*.jpg;*.bmp;*.gif;*.wmf");

    // The shared window; created (hidden) when create is true and there is none. Null otherwise.
    static frmColor *instance(bool create);
    // Shows the window centred on the screen, or brings the open one forward.
    void showWindow();

    explicit frmColor(QWidget *parent = nullptr);
    ~frmColor() override;

    // The file dialog's filter: the classic image types first, then every format readable here.
    static QString imageFilter();

    // True from a press on the palette until the button is released.
    bool PickingColor = false;
    // The swatch's colour (0x00BBGGRR); nothing before the first pick.
    bool hasPick() const { return m_picked; }
    quint32 swatchColour() const { return m_swatch; }

    PictureSurface *Picture1 = nullptr;
    ScrollPicture *Picture2 = nullptr;
    QWidget *P = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLineEdit *Text1 = nullptr;
    CommonDialog Co;

    void Picture1_MouseDown(QPointF at);
    void Picture1_MouseMove(QPointF at);
    void Picture1_MouseUp();
    void Picture2_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void Command2_Click(); // SELECT PICTURE
    void Command1_Click(); // INSERT

signals:
    // INSERT: the text to put into the document at its selection.
    void insertRequested(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sample(const QImage &surface, QPointF at);

    quint32 m_swatch = 0;
    bool m_picked = false;
    bool m_centred = false;
};

} // namespace kestrin
