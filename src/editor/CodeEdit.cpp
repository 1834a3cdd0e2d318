#include "CodeEdit.h"

#include "TextFile.h"

#include <Qsci/qsciscintilla.h>
#include <Qsci/qscilexerhtml.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QSaveFile>
#include <QVBoxLayout>

namespace kestrin {

namespace {

// Windows virtual-key code of a Qt key, for the KeyDown event.
int virtualKey(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey; // same codes: 65..90
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return qtKey; // 48..57
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return qtKey & 0xFFFF;
    }
}

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

// QScintilla with the hooks the component's events need.
class SciWidget : public QsciScintilla {
public:
    explicit SciWidget(CodeEdit *owner) : QsciScintilla(owner), m_owner(owner) {}
    std::function<void(QKeyEvent *)> onKeyPress;

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (onKeyPress)
            onKeyPress(e);
        else
            QsciScintilla::keyPressEvent(e);
    }
    void inputMethodEvent(QInputMethodEvent *e) override
    {
        const long before = SendScintilla(SCI_GETMODIFY) ? -1 : 0;
        Q_UNUSED(before);
        QsciScintilla::inputMethodEvent(e);
        if (!e->commitString().isEmpty())
            Q_EMIT m_owner->KeyEvent(0, 0);
    }

public:
    void baseKeyPress(QKeyEvent *e) { QsciScintilla::keyPressEvent(e); }

private:
    CodeEdit *m_owner;
};

struct CodeEdit::Private {
    SciWidget *sci = nullptr;
    QsciLexerHTML *lexer = nullptr;
    TextFormat format;
    QByteArray found;
    QString error;
    bool loading = false;
    quint64 changeCount = 0;
    QHash<int, QVariant> settings;

    long send(unsigned int msg, unsigned long w = 0, long l = 0) const { return sci->SendScintilla(msg, w, l); }
    long send(unsigned int msg, unsigned long w, const char *l) const { return sci->SendScintilla(msg, w, l); }
};

CodeEdit::CodeEdit(QWidget *parent) : QWidget(parent), d(new Private)
{
    d->format.lineEnd = platformLineEnd();
    d->sci = new SciWidget(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->sci);
    setFocusProxy(d->sci);

    d->sci->setUtf8(true);
    d->send(QsciScintillaBase::SCI_SETCODEPAGE, QsciScintillaBase::SC_CP_UTF8);
    d->send(QsciScintillaBase::SCI_SETEOLMODE,
            d->format.lineEnd == LineEnd::CRLF ? QsciScintillaBase::SC_EOL_CRLF
                                               : d->format.lineEnd == LineEnd::CR ? QsciScintillaBase::SC_EOL_CR
                                                                                  : QsciScintillaBase::SC_EOL_LF);

    // Copy and paste reach the component through the window's KeyDown handler; the component's
    // own bindings would do them a second time. Ctrl+X belongs to the window's Exit.
    for (int key : {int('C'), int('V'), int('X'), int(QsciScintillaBase::SCK_INSERT)})
        d->send(QsciScintillaBase::SCI_CLEARCMDKEY, key + (QsciScintillaBase::SCMOD_CTRL << 16));

    d->sci->onKeyPress = [this](QKeyEvent *e) {
        Q_EMIT KeyDown(virtualKey(e->key()), shiftState(e->modifiers()));
        const quint64 before = d->changeCount;
        const bool overtypeBefore = d->sci->overwriteMode();
        d->sci->baseKeyPress(e);
        if (d->changeCount != before)
            Q_EMIT KeyEvent(0, 0);
        if (d->sci->overwriteMode() != overtypeBefore)
            Q_EMIT overtypeChanged(d->sci->overwriteMode());
    };

    connect(d->sci, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char *, int, int, int, int, int, int, int) {
                if (type & (QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT)) {
                    ++d->changeCount;
                    if (!d->loading)
                        Q_EMIT documentChanged();
                }
            });
    connect(d->sci, &QsciScintilla::selectionChanged, this, &CodeEdit::SelectionChanged);
    connect(d->sci, &QsciScintilla::cursorPositionChanged, this, [this](int, int) { Q_EMIT SelectionChanged(); });
}

CodeEdit::~CodeEdit() { delete d; }

QByteArray CodeEdit::Text() const
{
    const long len = d->send(QsciScintillaBase::SCI_GETLENGTH);
    QByteArray out(len, Qt::Uninitialized);
    if (len > 0) {
        // SCI_GETRANGEPOINTER on the whole range moves the gap once; copy straight from it.
        const char *p = reinterpret_cast<const char *>(d->send(QsciScintillaBase::SCI_GETRANGEPOINTER, 0, len));
        memcpy(out.data(), p, size_t(len));
    }
    return out;
}

void CodeEdit::setText(const QByteArray &utf8)
{
    d->send(QsciScintillaBase::SCI_BEGINUNDOACTION);
    d->send(QsciScintillaBase::SCI_SETTARGETRANGE, 0, d->send(QsciScintillaBase::SCI_GETLENGTH));
    d->send(QsciScintillaBase::SCI_REPLACETARGET, utf8.size(), utf8.constData());
    d->send(QsciScintillaBase::SCI_ENDUNDOACTION);
}

QByteArray CodeEdit::SelectedText() const
{
    const long start = d->send(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long end = d->send(QsciScintillaBase::SCI_GETSELECTIONEND);
    if (end <= start)
        return QByteArray();
    const char *p = reinterpret_cast<const char *>(d->send(QsciScintillaBase::SCI_GETRANGEPOINTER, start, end - start));
    return QByteArray(p, end - start);
}

void CodeEdit::setSelectedText(const QByteArray &utf8)
{
    const long start = d->send(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long end = d->send(QsciScintillaBase::SCI_GETSELECTIONEND);
    if (end - start == utf8.size() && SelectedText() == utf8)
        return;
    d->send(QsciScintillaBase::SCI_BEGINUNDOACTION);
    d->send(QsciScintillaBase::SCI_SETTARGETRANGE, start, end);
    d->send(QsciScintillaBase::SCI_REPLACETARGET, utf8.size(), utf8.constData());
    const long caret = start + utf8.size();
    d->send(QsciScintillaBase::SCI_SETSEL, caret, caret);
    d->send(QsciScintillaBase::SCI_ENDUNDOACTION);
}

QByteArray CodeEdit::lineBreak() const
{
    switch (d->format.lineEnd) {
    case LineEnd::CRLF: return QByteArrayLiteral("\r\n");
    case LineEnd::CR: return QByteArrayLiteral("\r");
    case LineEnd::LF: break;
    }
    return QByteArrayLiteral("\n");
}

LineEnd CodeEdit::lineEndStyle() const { return d->format.lineEnd; }

QByteArray CodeEdit::withDocumentLineEnds(const QByteArray &crlfText) const
{
    if (d->format.lineEnd == LineEnd::CRLF || !crlfText.contains('\r'))
        return crlfText;
    QByteArray out = crlfText;
    out.replace("\r\n", lineBreak());
    return out;
}

bool CodeEdit::CanUndo() const { return d->send(QsciScintillaBase::SCI_CANUNDO) != 0; }
bool CodeEdit::CanRedo() const { return d->send(QsciScintillaBase::SCI_CANREDO) != 0; }
void CodeEdit::Undo() { d->send(QsciScintillaBase::SCI_UNDO); }
void CodeEdit::Redo() { d->send(QsciScintillaBase::SCI_REDO); }

void CodeEdit::ExecuteCommand(int command)
{
    switch (command) {
    case 137: d->send(QsciScintillaBase::SCI_SELECTALL); break;
    case 140: d->send(QsciScintillaBase::SCI_PASTE); break;
    case 198: d->send(QsciScintillaBase::SCI_COPY); break;
    case 229: d->send(QsciScintillaBase::SCI_SCROLLCARET); break;
    default: break;
    }
}

QByteArray CodeEdit::value33() const { return d->found; }

bool CodeEdit::LoadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        d->error = file.errorString();
        return false;
    }
    const DecodeResult decoded = decodeText(file.readAll());
    if (!decoded.ok) {
        d->error = decoded.error;
        return false;
    }
    d->loading = true;
    d->send(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0);
    d->send(QsciScintillaBase::SCI_CLEARALL);
    d->send(QsciScintillaBase::SCI_APPENDTEXT, decoded.utf8.size(), decoded.utf8.constData());
    d->send(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1);
    d->send(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    d->send(QsciScintillaBase::SCI_SETSAVEPOINT);
    d->send(QsciScintillaBase::SCI_GOTOPOS, 0);
    d->loading = false;
    d->format = decoded.format;
    return true;
}

bool CodeEdit::SaveFile(const QString &path, bool flag)
{
    Q_UNUSED(flag);
    const EncodeResult encoded = encodeText(Text(), d->format);
    if (!encoded.ok) {
        d->error = encoded.error;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encoded.bytes) != encoded.bytes.size() || !file.commit()) {
        d->error = file.errorString();
        return false;
    }
    return true;
}

bool CodeEdit::CommitSaves() { return true; }
void CodeEdit::DiscardSaves() {}
QString CodeEdit::lastError() const { return d->error; }
QString CodeEdit::encodingName() const { return kestrin::encodingName(d->format.encoding); }

bool CodeEdit::GoToLine(qint64 line, bool)
{
    if (line < 1)
        return false;
    const long lines = d->send(QsciScintillaBase::SCI_GETLINECOUNT);
    const long target = long(std::min<qint64>(line, lines)) - 1;
    d->send(QsciScintillaBase::SCI_GOTOLINE, target);
    return true;
}

void CodeEdit::setLanguage(const QString &language)
{
    if (language.compare(QLatin1String("PHP"), Qt::CaseInsensitive) == 0) {
        if (!d->lexer)
            d->lexer = new QsciLexerHTML(d->sci);
        d->sci->setLexer(d->lexer);
    }
}

void CodeEdit::SetItemColor(int, quint32) {}
void CodeEdit::SetItemFontStyle(int, int) {}
void CodeEdit::setSetting(int number, const QVariant &value) { d->settings.insert(number, value); }
QVariant CodeEdit::setting(int number) const { return d->settings.value(number); }
bool CodeEdit::isOvertype() const { return d->sci->overwriteMode(); }
qint64 CodeEdit::length() const { return d->send(QsciScintillaBase::SCI_GETLENGTH); }
QWidget *CodeEdit::editorWidget() const { return d->sci; }

bool CodeEdit::eventFilter(QObject *watched, QEvent *event) { return QWidget::eventFilter(watched, event); }

} // namespace kestrin
