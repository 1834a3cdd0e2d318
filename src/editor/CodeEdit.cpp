#include "CodeEdit.h"

#include "AtomicFile.h"
#include "BraceMatch.h"
#include "FindReplaceDialog.h"
#include "TextFile.h"

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <optional>

using Sci = QsciScintillaBase;

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

QColor fromBgr(quint32 c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Only the "before" notifications reach the Qt layer. QScintilla's Qt layer answers every
// insert/delete notification with accessibility updates that count characters from the start
// of the document, which makes edits near the end of a large document and every batch of
// replacements cost a scan of the whole text; the "before" notifications tell us just as well
// that the text is about to change, and the change is reported once it is complete.
constexpr int kModEventMask = Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;

// ---------------------------------------------------------------------------------------------
// How the window's configuration maps onto Scintilla. The window applies, in this order:
// setting 0 = true, Language "PHP", 87 = true, 88 = 1, 29 = 2, 5 = true, 6 = true, 110 = 8,
// colours 27 green, 26 white, 14 white, 15 green, 29 = 1, bold on 4, 3, 1, colours 6 dark olive,
// 12 red, 16 black; with the window's "Courier New" 15 px that gives black text on white, red
// tags, bold keywords and script delimiters, green strings and variables, olive comments.
//
//   settings   0  bool  line-number margin shown (width follows the number of lines)
//              5  bool  auto-indent: Enter copies the previous line's indentation
//              6  bool  brace matching: the brace at the caret and its partner highlighted
//             29  int   blank gap between the margins and the text, in units of 2 px
//             87  bool  the caret's line highlighted (a pale blue band)
//             88  int   caret width in pixels (1..3)
//            110  int   tab width in columns
//   items (lexer styles of the HTML/PHP/JavaScript colouring; colour = foreground unless noted)
//              1  HTML tags, known and unknown, and tag ends
//              3  keywords of PHP and JavaScript
//              4  script delimiters: <?php ?>, <% %>, <? ?> and the like
//              6  comments (HTML, PHP, JavaScript, SGML)
//             12  HTML tags as well: the colour of item 1's styles
//             14  background of embedded scripts (PHP and JavaScript sections)
//             15  strings (HTML attribute values, PHP and JavaScript strings)
//             16  default text (HTML text, PHP and JavaScript plain code), and the caret
//             26  background of the page and of everything that is not a script section
//             27  PHP variables, in code and inside double-quoted strings
//   font style 0 normal, 1 bold, 2 italic, 3 bold italic.
// Other item numbers are accepted and kept, and mean nothing.
// ---------------------------------------------------------------------------------------------
const QList<int> &stylesOfItem(int item)
{
    using L = QsciLexerHTML;
    static const QHash<int, QList<int>> table = {
        {1, {L::Tag, L::UnknownTag, L::XMLTagEnd, L::SGMLDefault, L::SGMLCommand}},
        {3, {L::PHPKeyword, L::JavaScriptKeyword, L::ASPJavaScriptKeyword}},
        {4, {L::PHPStart, L::XMLStart, L::XMLEnd, L::ASPStart, L::ASPAtStart, L::Script,
             L::JavaScriptStart, L::ASPJavaScriptStart}},
        {6, {L::HTMLComment, L::PHPComment, L::PHPCommentLine, L::JavaScriptComment,
             L::JavaScriptCommentLine, L::JavaScriptCommentDoc, L::ASPJavaScriptComment,
             L::ASPJavaScriptCommentLine, L::ASPJavaScriptCommentDoc, L::SGMLComment,
             L::ASPXCComment}},
        {12, {L::Tag, L::UnknownTag, L::XMLTagEnd, L::SGMLDefault, L::SGMLCommand}},
        {15, {L::HTMLDoubleQuotedString, L::HTMLSingleQuotedString, L::PHPDoubleQuotedString,
              L::PHPSingleQuotedString, L::JavaScriptDoubleQuotedString,
              L::JavaScriptSingleQuotedString, L::ASPJavaScriptDoubleQuotedString,
              L::ASPJavaScriptSingleQuotedString, L::SGMLDoubleQuotedString,
              L::SGMLSingleQuotedString}},
        {16, {L::Default, L::PHPDefault, L::JavaScriptDefault, L::ASPJavaScriptDefault,
              L::JavaScriptWord, L::ASPJavaScriptWord, L::OtherInTag}},
        {27, {L::PHPVariable, L::PHPDoubleQuotedVariable}},
    };
    static const QList<int> none;
    auto it = table.constFind(item);
    return it == table.constEnd() ? none : *it;
}

// Room left after a loaded or replaced text, so the first keystrokes do not regrow the buffer.
constexpr long kAllocationSlack = 1024;

// Up to this much freed memory stays in the heap for reuse (see the constructor).
constexpr size_t kHeapKeptBlock = 512u * 1024 * 1024;

// Lets the next `bytes` of large allocations (a file read, a command's result, Scintilla's
// buffers and undo copies) fault in 2 MB pages instead of 4 KB ones: a fresh 50 MB block cost
// some 12,800 page faults, which on a virtual machine took longer than the work done in it.
// The heap is grown by that much and the new range marked for huge pages; freed at once, it
// stays in the heap untouched (no memory used) for the allocations that follow.
void prepareHeap(size_t bytes)
{
#if defined(__GLIBC__) && defined(Q_OS_LINUX)
    constexpr uintptr_t huge = 2u * 1024 * 1024;
    bytes = std::min(bytes, kHeapKeptBlock / 2);
    if (bytes < 4 * huge)
        return;
    void *p = std::malloc(bytes);
    if (!p)
        return;
    const uintptr_t from = (uintptr_t(p) + huge - 1) & ~(huge - 1);
    const uintptr_t to = (uintptr_t(p) + bytes) & ~(huge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
    std::free(p);
#else
    Q_UNUSED(bytes);
#endif
}

// Whole-document work allocates blocks of the document's size (the file read, a command's
// result, Scintilla's buffers and undo copies). By default glibc maps each such block afresh and
// unmaps it when freed, so every one pays a page fault per 4 KB again: on a 50 MB document that
// fault cost was most of the time of a load or a whole-document command. Kept in the heap, freed
// blocks are reused by the next command without faulting.
void keepFreedBlocksInHeap()
{
#ifdef __GLIBC__
    static const bool kept = [] {
        // glibc caps the mapping threshold at 32 MB, so large blocks are kept in the heap by
        // not mapping blocks at all; the heap still falls back to a mapping when it cannot grow.
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, int(kHeapKeptBlock));
        return true;
    }();
    Q_UNUSED(kept);
#endif
}

bool isScriptStyle(int style) { return (style >= 40 && style <= 67) || (style >= 118 && style <= 127); }

} // namespace

class SciWidget;

// The accessible of the editor: its name and role, like any editable field. QScintilla's own
// accessible answers every caret move by counting the characters from the start of the document
// to the caret (SCI_COUNTCHARACTERS, a character at a time): on a 50 MB file a quarter of a second
// per keystroke, whenever an assistive-technology bridge is running.
QAccessibleInterface *editorAccessible(const QString &className, QObject *object);

// QScintilla with the hooks the component's events need.
class SciWidget : public QsciScintilla {
public:
    explicit SciWidget(QWidget *parent) : QsciScintilla(parent) {}
    std::function<void(QKeyEvent *)> onKeyPress;
    std::function<void(QInputMethodEvent *)> onInputMethod;
    std::function<void()> afterEvent;
    // Before the widget acts on anything: the component hands Scintilla a text it holds.
    std::function<void()> beforeUse;

    void baseKeyPress(QKeyEvent *e) { QsciScintilla::keyPressEvent(e); }
    void baseInputMethod(QInputMethodEvent *e) { QsciScintilla::inputMethodEvent(e); }

    // Input methods ask for the text around the caret after every key and caret move. QScintilla
    // answers with the whole paragraph, which in a document without blank lines is the whole
    // document, copied and converted to a QString each time (hundreds of milliseconds per key on
    // a 50 MB file). A window of the caret's line is all an input method uses.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        if (beforeUse)
            beforeUse();
        switch (query) {
        case Qt::ImSurroundingText:
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition:
        case Qt::ImCurrentSelection:
            return caretQuery(query);
        default:
            return QsciScintilla::inputMethodQuery(query);
        }
    }

private:
    static constexpr long kImWindow = 1024; // bytes each side of the caret

    QByteArray bytes(long start, long end) const
    {
        if (end <= start)
            return QByteArray();
        // A copy, not the range pointer: that would move the buffer's gap away from the caret.
        QByteArray out(end - start + 1, Qt::Uninitialized);
        SendScintilla(SCI_GETTEXTRANGE, start, end, out.data());
        out.truncate(end - start);
        return out;
    }

    QVariant caretQuery(Qt::InputMethodQuery query) const
    {
        const long caret = SendScintilla(SCI_GETCURRENTPOS);
        const long anchor = SendScintilla(SCI_GETANCHOR);
        if (query == Qt::ImCurrentSelection) {
            const long from = std::min(caret, anchor), to = std::max(caret, anchor);
            return to - from <= 2 * kImWindow ? QString::fromUtf8(bytes(from, to)) : QString();
        }
        const long line = SendScintilla(SCI_LINEFROMPOSITION, caret);
        long start = std::max<long>(SendScintilla(SCI_POSITIONFROMLINE, line), caret - kImWindow);
        long end = std::min<long>(SendScintilla(SCI_GETLINEENDPOSITION, line), caret + kImWindow);
        QByteArray text = bytes(start, end);
        // Whole characters only: drop a sequence cut at either edge.
        qsizetype head = 0;
        while (head < caret - start && (uchar(text.at(head)) & 0xC0) == 0x80)
            ++head;
        qsizetype tail = text.size();
        if (tail > caret - start) {
            qsizetype lead = tail;
            while (lead > caret - start && (uchar(text.at(lead - 1)) & 0xC0) == 0x80)
                --lead;
            if (lead > caret - start && uchar(text.at(lead - 1)) >= 0xC0) {
                const uchar b = uchar(text.at(lead - 1));
                const qsizetype need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
                if (tail - (lead - 1) < need)
                    tail = lead - 1;
            }
        }
        text = text.mid(head, tail - head);
        start += head;
        auto offsetOf = [&](long pos) {
            pos = std::clamp<long>(pos, start, start + text.size());
            return int(QString::fromUtf8(text.constData(), pos - start).size());
        };
        switch (query) {
        case Qt::ImSurroundingText: return QString::fromUtf8(text);
        case Qt::ImCursorPosition: return offsetOf(caret);
        default: return offsetOf(anchor);
        }
    }

public:

protected:
    bool event(QEvent *e) override
    {
        if (beforeUse)
            beforeUse();
        if (e->type() == QEvent::ShortcutOverride) {
            // The window's shortcuts (Ctrl+N/O/S/Q/X, F5, F6, ...) must win over the editor:
            // leave every Ctrl/Alt/Meta chord and function key to them; keys no shortcut claims
            // still come back as ordinary key presses.
            auto *ke = static_cast<QKeyEvent *>(e);
            const bool chord = ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            const bool functionKey = ke->key() >= Qt::Key_F1 && ke->key() <= Qt::Key_F35;
            if (chord || functionKey) {
                e->ignore();
                return false;
            }
        }
        const bool result = QsciScintilla::event(e);
        if (afterEvent)
            afterEvent();
        return result;
    }
    bool viewportEvent(QEvent *e) override
    {
        if (beforeUse)
            beforeUse();
        const bool result = QsciScintilla::viewportEvent(e);
        if (afterEvent)
            afterEvent();
        return result;
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        if (onKeyPress)
            onKeyPress(e);
        else
            baseKeyPress(e);
    }
    void inputMethodEvent(QInputMethodEvent *e) override
    {
        if (onInputMethod)
            onInputMethod(e);
        else
            baseInputMethod(e);
    }
};

QAccessibleInterface *editorAccessible(const QString &, QObject *object)
{
    if (auto *editor = dynamic_cast<SciWidget *>(object))
        return new QAccessibleWidget(editor, QAccessible::EditableText);
    return nullptr;
}

struct CodeEdit::Private {
    CodeEdit *q = nullptr;
    SciWidget *sci = nullptr;
    QsciLexerHTML *lexer = nullptr;
    TextFormat format;
    QString error;
    quint64 changeCount = 0;
    bool pendingChange = false;
    bool flushQueued = false;
    QHash<int, QVariant> settings;
    QHash<int, quint32> itemColors;
    QHash<int, int> itemFontStyles;
    QString fontFamily;
    int fontPixels = 0;
    AtomicBatch batch;
    QPointer<FindReplaceDialog> dialog;
    FindRequest lastFind;
    bool hasLastFind = false;

    // A hidden editor that only loads, reads, replaces and saves whole texts (the multi-file
    // runs) keeps them here instead of in Scintilla, whose load and replace cost more than the
    // rest of such a file's work. Scintilla gets the loaded text, and each replacement since as
    // an undo step, the first time anything else needs it (any other member, any event).
    struct Held {
        QByteArray loaded;
        QList<QByteArray> replacements;
        qsizetype savedAfter = 0; // the save point: after this many replacements
        const QByteArray &text() const { return replacements.isEmpty() ? loaded : replacements.constLast(); }
    };
    mutable std::optional<Held> held;

    long send(unsigned int msg, unsigned long w = 0, long l = 0) const
    {
        attach();
        return sci->SendScintilla(msg, w, l);
    }
    long send(unsigned int msg, unsigned long w, const char *l) const
    {
        attach();
        return sci->SendScintilla(msg, w, l);
    }
    void attach() const
    {
        if (held)
            const_cast<Private *>(this)->giveHeldTextToScintilla();
    }
    void giveHeldTextToScintilla();
    void showLoaded(const QByteArray &utf8);
    // The end of a load: decodes a file's bytes and puts the text in place.
    bool loadBytes(QByteArray bytes);

    // Report a finished change once, after the edit that made it is complete.
    void flush()
    {
        if (!pendingChange)
            return;
        pendingChange = false;
        if (!held)
            updateMarginWidth();
        Q_EMIT q->documentChanged();
    }
    // Reports a moved caret or selection once, whatever moved it; Scintilla's own update
    // notification only comes with the next paint.
    long lastAnchor = 0;
    long lastCaret = 0;
    void checkSelection()
    {
        // A held text has its caret at the start (see giveHeldTextToScintilla).
        const long anchor = held ? 0 : send(Sci::SCI_GETANCHOR);
        const long caret = held ? 0 : send(Sci::SCI_GETCURRENTPOS);
        if (anchor == lastAnchor && caret == lastCaret)
            return;
        lastAnchor = anchor;
        lastCaret = caret;
        Q_EMIT q->SelectionChanged();
    }
    void settle()
    {
        flush();
        checkSelection();
    }
    void noteChange()
    {
        ++changeCount;
        pendingChange = true;
        // Paths that neither pass through the widget's event handlers nor our own members
        // (none are known) still get their report once control returns to the event loop.
        if (!flushQueued) {
            flushQueued = true;
            QTimer::singleShot(0, q, [this] {
                flushQueued = false;
                settle();
            });
        }
    }

    // Silences the change notifications for an edit we report ourselves.
    struct Quiet {
        Private *p;
        explicit Quiet(Private *pp) : p(pp) { p->send(Sci::SCI_SETMODEVENTMASK, 0); }
        ~Quiet() { p->send(Sci::SCI_SETMODEVENTMASK, kModEventMask); }
    };

    void setEolMode(LineEnd style)
    {
        send(Sci::SCI_SETEOLMODE, style == LineEnd::CRLF ? Sci::SC_EOL_CRLF
                                  : style == LineEnd::CR ? Sci::SC_EOL_CR
                                                         : Sci::SC_EOL_LF);
    }

    long length() const { return send(Sci::SCI_GETLENGTH); }

    // The caret to pos with nothing selected, scrolled into view when there is a view: scrolling
    // lays out the caret's line, wasted work in the hidden editor of the multi-file runs.
    void placeCaret(long pos)
    {
        send(Sci::SCI_SETEMPTYSELECTION, pos);
        if (sci->isVisible())
            send(Sci::SCI_SCROLLCARET);
    }
    QByteArray range(long start, long end) const
    {
        if (end <= start)
            return QByteArray();
        const char *p = reinterpret_cast<const char *>(send(Sci::SCI_GETRANGEPOINTER, start, end - start));
        return QByteArray(p, end - start);
    }

    void updateMarginWidth()
    {
        if (!settings.value(0).toBool()) {
            send(Sci::SCI_SETMARGINWIDTHN, 0, 0L);
            return;
        }
        const long lines = send(Sci::SCI_GETLINECOUNT);
        int digits = 3;
        for (long n = lines; n >= 1000; n /= 10)
            ++digits;
        const QByteArray sample = "_" + QByteArray(digits, '9');
        const long width = send(Sci::SCI_TEXTWIDTH, Sci::STYLE_LINENUMBER, sample.constData());
        if (send(Sci::SCI_GETMARGINWIDTHN, 0) != width)
            send(Sci::SCI_SETMARGINWIDTHN, 0, width);
    }

    QFont fontFor(bool bold, bool italic) const
    {
        QFont f(fontFamily.isEmpty() ? QStringLiteral("Monospace") : fontFamily);
        f.setStyleHint(QFont::TypeWriter);
        // QScintilla sizes styles in points; convert so the characters are fontPixels high.
        const int px = fontPixels > 0 ? fontPixels : 15;
        const qreal dpi = sci->logicalDpiY() > 0 ? sci->logicalDpiY() : 96;
        f.setPointSizeF(px * 72.0 / dpi);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    }

    // Applies font, item colours and item font styles to every style, in one place, so the
    // order in which the window sets them does not matter.
    void applyScheme()
    {
        QHash<int, int> styleFont; // style -> font style number
        for (auto it = itemFontStyles.cbegin(); it != itemFontStyles.cend(); ++it)
            for (int s : stylesOfItem(it.key()))
                styleFont[s] = it.value();
        if (lexer) {
            for (int s = 0; s <= 127; ++s) {
                if (lexer->description(s).isEmpty())
                    continue;
                const int fs = styleFont.value(s, 0);
                lexer->setFont(fontFor(fs & 1, fs & 2), s);
            }
            for (auto it = itemColors.cbegin(); it != itemColors.cend(); ++it) {
                const QColor c = fromBgr(it.value());
                if (it.key() == 26 || it.key() == 14) {
                    const bool scripts = it.key() == 14;
                    if (!scripts)
                        lexer->setDefaultPaper(c);
                    for (int s = 0; s <= 127; ++s)
                        if (!lexer->description(s).isEmpty() && isScriptStyle(s) == scripts)
                            lexer->setPaper(c, s);
                    continue;
                }
                for (int s : stylesOfItem(it.key()))
                    lexer->setColor(c, s);
                if (it.key() == 16)
                    lexer->setDefaultColor(c);
            }
        } else {
            sci->setFont(fontFor(false, false));
            if (itemColors.contains(26))
                sci->setPaper(fromBgr(itemColors.value(26)));
            if (itemColors.contains(16))
                sci->setColor(fromBgr(itemColors.value(16)));
        }
        const QColor caret = fromBgr(itemColors.value(16, 0));
        sci->setCaretForegroundColor(caret);
        QFont numbers = fontFor(false, false);
        send(Sci::SCI_STYLESETFONT, Sci::STYLE_LINENUMBER, numbers.family().toUtf8().constData());
        send(Sci::SCI_STYLESETSIZEFRACTIONAL, Sci::STYLE_LINENUMBER,
             long(std::lround(numbers.pointSizeF() * int(Sci::SC_FONT_SIZE_MULTIPLIER))));
        updateMarginWidth();
    }

    void applySetting(int number, const QVariant &value)
    {
        switch (number) {
        case 0: updateMarginWidth(); break;
        case 5: sci->setAutoIndent(value.toBool()); break;
        case 6:
            // Our own bounded matching replaces QScintilla's (see matchBraces).
            sci->setBraceMatching(QsciScintilla::NoBraceMatch);
            braceMatching = value.toBool();
            matchBraces();
            break;
        case 29: send(Sci::SCI_SETMARGINLEFT, 0, std::clamp(value.toInt(), 0, 16) * 2); break;
        case 87:
            sci->setCaretLineBackgroundColor(QColor(0xE8, 0xF0, 0xFF));
            sci->setCaretLineVisible(value.toBool());
            break;
        case 88: sci->setCaretWidth(std::clamp(value.toInt(), 1, 3)); break;
        case 110: sci->setTabWidth(std::clamp(value.toInt(), 1, 32)); break;
        default: break;
        }
    }

    // The brace beside the caret (before it first, then after it) and its partner highlighted,
    // an unmatched one marked bad. Scintilla's own search runs to the end of the document, a
    // character at a time, on every caret move: on a large file with a brace left open that is
    // most of a second per key. The partner is looked for within kBraceWindow bytes; beyond
    // that nothing is marked, rather than a wrong "unmatched".
    bool braceMatching = false;
    static constexpr long kBraceWindow = 64 * 1024;
    void matchBraces()
    {
        if (!braceMatching) {
            send(Sci::SCI_BRACEHIGHLIGHT, -1, -1);
            return;
        }
        const long caret = send(Sci::SCI_GETCURRENTPOS);
        long brace = -1;
        if (caret > 0 && braceOpposite(char(send(Sci::SCI_GETCHARAT, caret - 1))))
            brace = caret - 1;
        else if (braceOpposite(char(send(Sci::SCI_GETCHARAT, caret))))
            brace = caret;
        if (brace < 0) {
            send(Sci::SCI_BRACEHIGHLIGHT, -1, -1);
            return;
        }
        const char ch = char(send(Sci::SCI_GETCHARAT, brace));
        const bool forward = ch == '(' || ch == '[' || ch == '{' || ch == '<';
        const long len = length();
        const long from = forward ? brace : std::max(0L, brace - kBraceWindow);
        const long to = forward ? std::min(len, brace + 1 + kBraceWindow) : brace + 1;
        // Characters and styles in one copy, interleaved, without moving the buffer's gap.
        QByteArray cells(2 * (to - from) + 2, Qt::Uninitialized);
        struct { struct { long cpMin, cpMax; } chrg; char *text; } range{{from, to}, cells.data()};
        sci->SendScintilla(Sci::SCI_GETSTYLEDTEXT, 0UL, static_cast<void *>(&range));
        const long found = matchBrace(cells.constData(), from, to, brace, send(Sci::SCI_GETENDSTYLED));
        if (found >= 0)
            send(Sci::SCI_BRACEHIGHLIGHT, brace, found);
        else if (forward ? to == len : from == 0)
            send(Sci::SCI_BRACEBADLIGHT, brace);
        else
            send(Sci::SCI_BRACEHIGHLIGHT, -1, -1);
    }

    bool commitPending()
    {
        QString why;
        if (batch.commit(&why))
            return true;
        error = why;
        return false;
    }
};

CodeEdit::CodeEdit(QWidget *parent) : QWidget(parent), d(new Private)
{
    d->q = this;
    d->format.lineEnd = platformLineEnd();
    d->sci = new SciWidget(this);
    keepFreedBlocksInHeap();
    // After the first QScintilla widget has installed its factory: the last installed is asked first.
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(editorAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->sci);
    setFocusProxy(d->sci);
    d->sci->setAccessibleName(tr("Document text"));

    d->sci->setUtf8(true);
    d->send(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    d->setEolMode(d->format.lineEnd);
    d->send(Sci::SCI_SETMODEVENTMASK, kModEventMask);
    // Style what is shown, and the rest in idle time, never the whole document at once.
    d->send(Sci::SCI_SETIDLESTYLING, Sci::SC_IDLESTYLING_TOVISIBLE);
    // A horizontal scroll bar only once a line wider than the view has been shown, and as wide as
    // the widest line seen; by default Scintilla shows one for 2000 pixels even when empty.
    d->send(Sci::SCI_SETSCROLLWIDTH, 1);
    d->send(Sci::SCI_SETSCROLLWIDTHTRACKING, 1);
    d->send(Sci::SCI_SETMARGINWIDTHN, 1, 0L); // QScintilla's default symbol margin: unused
    d->send(Sci::SCI_SETMARGINTYPEN, 0, Sci::SC_MARGIN_NUMBER);
    d->send(Sci::SCI_SETMARGINWIDTHN, 0, 0L);

    // Copy and paste reach the component through the window's KeyDown handler; the component's
    // own bindings would do them a second time. Ctrl+X belongs to the window's Exit.
    for (int key : {int('C'), int('V'), int('X'), int(Sci::SCK_INSERT)})
        d->send(Sci::SCI_CLEARCMDKEY, key + (Sci::SCMOD_CTRL << 16));

    d->sci->onKeyPress = [this](QKeyEvent *e) {
        // A change made by the KeyDown handler itself (the window pastes on Ctrl+V) is this
        // keystroke's change too.
        const quint64 before = d->changeCount;
        Q_EMIT KeyDown(virtualKey(e->key()), shiftState(e->modifiers()));
        const bool overtypeBefore = d->sci->overwriteMode();
        d->sci->baseKeyPress(e);
        if (d->changeCount != before)
            Q_EMIT KeyEvent(0, 0);
        if (d->sci->overwriteMode() != overtypeBefore)
            Q_EMIT overtypeChanged(d->sci->overwriteMode());
    };
    d->sci->onInputMethod = [this](QInputMethodEvent *e) {
        const quint64 before = d->changeCount;
        d->sci->baseInputMethod(e);
        // Pre-edit text is shown in the document too; only a commit is a keystroke's result.
        if (d->changeCount != before && !e->commitString().isEmpty())
            Q_EMIT KeyEvent(0, 0);
    };
    d->sci->afterEvent = [this] { d->settle(); };
    d->sci->beforeUse = [this] { d->attach(); };

    connect(d->sci, &Sci::SCN_MODIFIED, this, [this](int, int type, const char *, int, int, int, int, int, int, int) {
        if (type & (Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE))
            d->noteChange();
    });
    connect(d->sci, &Sci::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & Sci::SC_UPDATE_SELECTION)
            d->checkSelection();
        if (updated & (Sci::SC_UPDATE_SELECTION | Sci::SC_UPDATE_CONTENT))
            d->matchBraces();
    });
    connect(d->sci, &Sci::QSCN_SELCHANGED, this, [this](bool) { d->checkSelection(); });
}

CodeEdit::~CodeEdit()
{
    delete d->dialog.data();
    // The editor still receives events (hide, focus out) while Qt deletes the children; it must
    // not reach back into the state deleted here.
    d->sci->onKeyPress = nullptr;
    d->sci->onInputMethod = nullptr;
    d->sci->afterEvent = nullptr;
    d->sci->beforeUse = nullptr;
    disconnect(d->sci, nullptr, this, nullptr);
    delete d->sci;
    delete d;
}

QByteArray CodeEdit::Text() const
{
    if (d->held)
        return d->held->text();
    // A whole-document command follows: this copy, its result, and setText's buffers and undo.
    prepareHeap(size_t(d->length()) * 6);
    return d->range(0, d->length());
}

QByteArray CodeEdit::textView() const
{
    prepareHeap(size_t(d->length()) * 5);
    const long length = d->length();
    // Gathers the text into one block (moving the gap once) and hands out Scintilla's own buffer.
    const char *p = reinterpret_cast<const char *>(d->send(Sci::SCI_GETCHARACTERPOINTER));
    return QByteArray::fromRawData(p, length);
}

bool CodeEdit::rewriteText(const std::function<QByteArray(const QByteArray &)> &rewrite, qsizetype resultBytes,
                           qsizetype blockBytes)
{
    // On a large document such a command is dominated by memory touched for the first time: a
    // copy of the text, the rewritten copy, Scintilla's regrown buffers, the undo copies. Block by
    // block there is no whole copy, and with the room made first, the buffers given up are reused
    // for the undo copies. The gap of Scintilla's buffer follows the edits, so nothing is moved.
    const long block = long(std::max<qsizetype>(blockBytes, 4));
    const long caret = d->send(Sci::SCI_GETCURRENTPOS);
    bool changed = false;
    long length = d->length();
    prepareHeap(size_t(std::max<qsizetype>(resultBytes, length)) * 3);
    {
        Private::Quiet quiet(d);
        d->send(Sci::SCI_ALLOCATE, long(resultBytes) + kAllocationSlack);
        long pos = 0;
        while (pos < length) {
            long end = std::min(pos + block, length);
            // Never cut inside a character: back up over (at most three) continuation bytes.
            for (int i = 0; i < 3 && end < length && (d->send(Sci::SCI_GETCHARAT, end) & 0xC0) == 0x80; ++i)
                --end;
            // The gap sits at pos, so the range is read in place.
            const char *p = reinterpret_cast<const char *>(d->send(Sci::SCI_GETRANGEPOINTER, pos, end - pos));
            const QByteArray in = QByteArray::fromRawData(p, end - pos);
            const QByteArray out = rewrite(in);
            if (out.isSharedWith(in)) {
                pos = end;
                continue;
            }
            if (!changed) {
                d->send(Sci::SCI_BEGINUNDOACTION);
                changed = true;
            }
            d->send(Sci::SCI_SETTARGETRANGE, pos, end);
            d->send(Sci::SCI_REPLACETARGET, out.size(), out.constData());
            length += long(out.size()) - (end - pos);
            pos += long(out.size());
        }
        if (changed)
            d->send(Sci::SCI_ENDUNDOACTION);
    }
    if (!changed)
        return false;

    // Keep the caret where it was, on a character boundary, as setText does.
    long at = std::min(caret, length);
    while (at > 0 && at < length && (d->send(Sci::SCI_GETCHARAT, at) & 0xC0) == 0x80)
        --at;
    d->placeCaret(at);
    ++d->changeCount;
    d->pendingChange = true;
    d->settle();
    return true;
}

void CodeEdit::setText(const QByteArray &utf8)
{
    if (d->held) {
        // One more undo step for when Scintilla gets the text; the caret stays at the start.
        d->held->replacements.append(utf8);
        ++d->changeCount;
        d->pendingChange = true;
        d->settle();
        return;
    }
    const long caret = d->send(Sci::SCI_GETCURRENTPOS);
    {
        Private::Quiet quiet(d);
        // Room for the new text before the old goes: otherwise the insertion into the emptied
        // buffer would grow it to old + new + a sixth, for the text and again for its styles.
        d->send(Sci::SCI_ALLOCATE, utf8.size() + kAllocationSlack);
        d->send(Sci::SCI_BEGINUNDOACTION);
        d->send(Sci::SCI_SETTARGETRANGE, 0, d->length());
        d->send(Sci::SCI_REPLACETARGET, utf8.size(), utf8.constData());
        d->send(Sci::SCI_ENDUNDOACTION);
    }

    // Keep the caret where it was, on a character boundary.
    long pos = std::min<long>(caret, utf8.size());
    while (pos > 0 && pos < utf8.size() && (uchar(utf8.at(pos)) & 0xC0) == 0x80)
        --pos;
    d->placeCaret(pos);
    ++d->changeCount;
    d->pendingChange = true;
    d->settle();
}

QByteArray CodeEdit::SelectedText() const
{
    return d->range(d->send(Sci::SCI_GETSELECTIONSTART), d->send(Sci::SCI_GETSELECTIONEND));
}

QByteArray CodeEdit::selectedTextHead(qsizetype maxBytes) const
{
    const long start = d->send(Sci::SCI_GETSELECTIONSTART);
    const long end = d->send(Sci::SCI_GETSELECTIONEND);
    return d->range(start, std::min<long>(end, start + long(std::max<qsizetype>(maxBytes, 0))));
}

void CodeEdit::setSelectedText(const QByteArray &utf8)
{
    const long start = d->send(Sci::SCI_GETSELECTIONSTART);
    const long end = d->send(Sci::SCI_GETSELECTIONEND);
    if (end - start == utf8.size() && d->range(start, end) == utf8)
        return;
    {
        Private::Quiet quiet(d);
        d->send(Sci::SCI_BEGINUNDOACTION);
        d->send(Sci::SCI_SETTARGETRANGE, start, end);
        d->send(Sci::SCI_REPLACETARGET, utf8.size(), utf8.constData());
        const long caret = start + utf8.size();
        d->send(Sci::SCI_SETSEL, caret, caret);
        d->send(Sci::SCI_ENDUNDOACTION);
    }
    ++d->changeCount;
    d->pendingChange = true;
    d->settle();
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

bool CodeEdit::CanUndo() const { return d->send(Sci::SCI_CANUNDO) != 0; }
bool CodeEdit::CanRedo() const { return d->send(Sci::SCI_CANREDO) != 0; }

void CodeEdit::Undo()
{
    if (!CanUndo())
        return;
    {
        Private::Quiet quiet(d);
        d->send(Sci::SCI_UNDO);
    }
    ++d->changeCount;
    d->pendingChange = true;
    d->settle();
}

void CodeEdit::Redo()
{
    if (!CanRedo())
        return;
    {
        Private::Quiet quiet(d);
        d->send(Sci::SCI_REDO);
    }
    ++d->changeCount;
    d->pendingChange = true;
    d->settle();
}

void CodeEdit::ExecuteCommand(int command)
{
    switch (command) {
    case 137: d->send(Sci::SCI_SELECTALL); break;
    case 140: {
        // Plain text only, in the document's line ends; an empty clipboard deletes the selection.
        const QByteArray text = QApplication::clipboard()->text().toUtf8();
        setSelectedText(convertLineEnds(text, d->format.lineEnd));
        d->send(Sci::SCI_SCROLLCARET);
        break;
    }
    case 169: showFindDialog(true); break;
    case 176:
        if (d->hasLastFind)
            findNext(d->lastFind);
        else
            showFindDialog(false);
        break;
    case 178: showFindDialog(false); break;
    case 198: {
        const QByteArray text = SelectedText();
        if (!text.isEmpty())
            QApplication::clipboard()->setText(QString::fromUtf8(text));
        break;
    }
    case 229: d->send(Sci::SCI_SCROLLCARET); break;
    default: break;
    }
    d->settle();
}

// The current selection: after a successful find it is the text found, and in every case writing
// it back to SelectedText changes nothing.
QByteArray CodeEdit::value33() const { return SelectedText(); }

namespace {

// A file being read ahead on another thread. Its buffer is allocated here, by the caller:
// a thread's own heap cannot hold a block larger than 64 MB once mappings are turned off.
struct Prefetch {
    QString path;
    QByteArray bytes;
    std::future<bool> whole; // false: unreadable, or not the size it had (then read again)
};

std::unique_ptr<Prefetch> &pendingPrefetch()
{
    static std::unique_ptr<Prefetch> pending;
    return pending;
}

// Smaller files are read faster than a thread is started.
constexpr qint64 kPrefetchMinimum = 1024 * 1024;

} // namespace

void CodeEdit::prefetch(const QString &path)
{
    const QFileInfo info(path);
    const qint64 size = info.isFile() ? info.size() : 0;
    if (size < kPrefetchMinimum || size > std::numeric_limits<qsizetype>::max() / 4)
        return;
    keepFreedBlocksInHeap();
    prepareHeap(size_t(size) * 4);
    auto job = std::make_unique<Prefetch>();
    job->path = path;
    job->bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
    char *data = job->bytes.data();
    job->whole = std::async(std::launch::async, [path, data, size] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.read(data, size) != size)
            return false;
        char more;
        return file.read(&more, 1) == 0; // grown since: read it again in LoadFile
    });
    pendingPrefetch() = std::move(job);
}

bool CodeEdit::LoadFile(const QString &path)
{
    if (d->batch.isPending(path) && !d->commitPending())
        return false;
    if (std::unique_ptr<Prefetch> job = std::move(pendingPrefetch())) {
        if (job->path == path && job->whole.get())
            return d->loadBytes(std::move(job->bytes));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        d->error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    // The read buffer, Scintilla's text and style buffers, and a decoded copy.
    prepareHeap(size_t(std::max<qint64>(size, 0)) * 4);
    QByteArray bytes;
    if (size > 0) {
        bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
        const qint64 got = file.read(bytes.data(), size);
        if (got < 0) {
            d->error = file.errorString();
            return false;
        }
        bytes.truncate(qsizetype(got));
    } else {
        bytes = file.readAll(); // files that report no size (pipes, /proc)
    }
    return d->loadBytes(std::move(bytes));
}

bool CodeEdit::Private::loadBytes(QByteArray bytes)
{
    DecodeResult decoded = decodeText(bytes);
    bytes = QByteArray();
    if (!decoded.ok) {
        error = decoded.error;
        return false;
    }
    format = decoded.format;
    pendingChange = false;
    error.clear();
    if (sci->isVisible()) {
        held.reset(); // replaced: no need to hand it to Scintilla first
        showLoaded(decoded.utf8);
    } else {
        held = Held{decoded.utf8, {}, 0};
    }
    checkSelection();
    return true;
}

void CodeEdit::Private::showLoaded(const QByteArray &utf8)
{
    {
        Quiet quiet(this);
        send(Sci::SCI_SETUNDOCOLLECTION, 0);
        send(Sci::SCI_CLEARALL);
        send(Sci::SCI_ALLOCATE, utf8.size() + kAllocationSlack);
        send(Sci::SCI_APPENDTEXT, utf8.size(), utf8.constData());
        send(Sci::SCI_SETUNDOCOLLECTION, 1);
        send(Sci::SCI_EMPTYUNDOBUFFER);
        send(Sci::SCI_SETSAVEPOINT);
        // Caret to the start without scrolling to it: GOTOPOS would lay out the text, which in a
        // hidden editor is wasted work. CLEARALL has already scrolled to the top.
        send(Sci::SCI_SETEMPTYSELECTION, 0);
        send(Sci::SCI_SETXOFFSET, 0);
        send(Sci::SCI_SETSCROLLWIDTH, 1); // the previous document's widest line is gone
    }
    setEolMode(format.lineEnd);
    updateMarginWidth();
}

void CodeEdit::Private::giveHeldTextToScintilla()
{
    const Held h = std::move(*held);
    held.reset();
    showLoaded(h.loaded);
    Quiet quiet(this);
    for (qsizetype i = 0; i < h.replacements.size(); ++i) {
        const QByteArray &text = h.replacements[i];
        send(Sci::SCI_BEGINUNDOACTION);
        send(Sci::SCI_SETTARGETRANGE, 0, length());
        send(Sci::SCI_REPLACETARGET, text.size(), text.constData());
        send(Sci::SCI_ENDUNDOACTION);
        if (h.savedAfter == i + 1)
            send(Sci::SCI_SETSAVEPOINT);
    }
    // Where setText leaves the caret of a loaded text: at the start.
    send(Sci::SCI_SETEMPTYSELECTION, 0);
}

bool CodeEdit::SaveFile(const QString &path, bool flag)
{
    // Encoded straight from Scintilla's buffer: nothing edits the document while the save runs,
    // and a UTF-8 document is then written without a copy of the whole text.
    QByteArray utf8;
    if (d->held) {
        utf8 = d->held->text();
    } else {
        const long len = d->length();
        const char *text = len > 0 ? reinterpret_cast<const char *>(d->send(Sci::SCI_GETRANGEPOINTER, 0, len)) : "";
        utf8 = QByteArray::fromRawData(text, len);
    }
    const EncodeResult encoded = encodeText(utf8, d->format);
    if (!encoded.ok) {
        d->error = encoded.error;
        return false;
    }
    QString why;
    const bool ok = flag ? d->batch.stage(path, encoded.bytes, &why) : AtomicFile::write(path, encoded.bytes, &why);
    if (!ok) {
        d->error = why;
        return false;
    }
    if (!flag) {
        if (d->held)
            d->held->savedAfter = d->held->replacements.size();
        else
            d->send(Sci::SCI_SETSAVEPOINT);
    }
    d->error.clear();
    return true;
}

bool CodeEdit::CommitSaves() { return d->commitPending(); }
QStringList CodeEdit::failedSaves() const { return d->batch.failed(); }
void CodeEdit::DiscardSaves() { d->batch.discard(); }
QString CodeEdit::lastError() const { return d->error; }
QString CodeEdit::encodingName() const { return kestrin::encodingName(d->format.encoding); }

bool CodeEdit::setEncodingName(const QString &name)
{
    using E = TextFormat::Encoding;
    for (E e : {E::Utf8, E::Utf8Bom, E::Utf16LE, E::Utf16BE, E::Windows1252}) {
        if (kestrin::encodingName(e) == name) {
            d->format.encoding = e;
            return true;
        }
    }
    return false;
}

bool CodeEdit::GoToLine(qint64 line, bool)
{
    if (line < 1)
        return false;
    const long lines = d->send(Sci::SCI_GETLINECOUNT);
    const long target = long(std::min<qint64>(line, lines)) - 1;
    d->send(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, target);
    d->send(Sci::SCI_GOTOLINE, target);
    d->settle();
    return true;
}

void CodeEdit::setLanguage(const QString &language)
{
    if (language.compare(QLatin1String("PHP"), Qt::CaseInsensitive) != 0)
        return;
    if (!d->lexer)
        d->lexer = new QsciLexerHTML(d->sci);
    d->sci->setLexer(d->lexer);
    d->applyScheme();
}

void CodeEdit::SetItemColor(int item, quint32 colorBGR)
{
    d->itemColors.insert(item, colorBGR & 0xFFFFFF);
    d->applyScheme();
}

void CodeEdit::SetItemFontStyle(int item, int style)
{
    d->itemFontStyles.insert(item, style);
    d->applyScheme();
}

void CodeEdit::setSetting(int number, const QVariant &value)
{
    d->settings.insert(number, value);
    d->applySetting(number, value);
}

QVariant CodeEdit::setting(int number) const { return d->settings.value(number); }

void CodeEdit::setEditorFont(const QString &family, int pixelHeight)
{
    d->fontFamily = family;
    d->fontPixels = pixelHeight;
    d->applyScheme();
}

bool CodeEdit::isOvertype() const { return d->sci->overwriteMode(); }
qint64 CodeEdit::length() const { return d->held ? d->held->text().size() : d->length(); }
QWidget *CodeEdit::editorWidget() const { return d->sci; }

bool CodeEdit::eventFilter(QObject *watched, QEvent *event) { return QWidget::eventFilter(watched, event); }

// --- searching -------------------------------------------------------------------------------

bool CodeEdit::findNext(const FindRequest &request)
{
    d->lastFind = request;
    d->hasLastFind = true;
    if (request.what.isEmpty())
        return false;
    int flags = 0;
    if (request.matchCase)
        flags |= Sci::SCFIND_MATCHCASE;
    if (request.wholeWord)
        flags |= Sci::SCFIND_WHOLEWORD;
    if (request.regex)
        flags |= Sci::SCFIND_REGEXP | Sci::SCFIND_POSIX;
    d->send(Sci::SCI_SETSEARCHFLAGS, flags);

    const long len = d->length();
    const long selStart = d->send(Sci::SCI_GETSELECTIONSTART);
    const long selEnd = d->send(Sci::SCI_GETSELECTIONEND);
    auto search = [&](long from, long to) -> long {
        d->send(Sci::SCI_SETTARGETRANGE, from, to);
        return d->send(Sci::SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
    };
    long from = request.backwards ? selStart : selEnd;
    long at = request.backwards ? search(from, 0) : search(from, len);
    // An empty match where the caret already stands would be found again and again.
    if (at >= 0 && d->send(Sci::SCI_GETTARGETEND) == at && at == selStart && selStart == selEnd) {
        if (request.backwards)
            at = from > 0 ? search(d->send(Sci::SCI_POSITIONBEFORE, from), 0) : -1;
        else
            at = from < len ? search(d->send(Sci::SCI_POSITIONAFTER, from), len) : -1;
    }
    if (at < 0 && request.wrap)
        at = request.backwards ? search(len, 0) : search(0, len);
    if (at < 0)
        return false;
    const long end = d->send(Sci::SCI_GETTARGETEND);
    d->send(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, d->send(Sci::SCI_LINEFROMPOSITION, at));
    d->send(Sci::SCI_SETSEL, at, end);
    d->settle();
    return true;
}

bool CodeEdit::replaceNext(const FindRequest &request)
{
    const long selStart = d->send(Sci::SCI_GETSELECTIONSTART);
    const long selEnd = d->send(Sci::SCI_GETSELECTIONEND);
    if (selEnd > selStart && !request.what.isEmpty()) {
        int flags = (request.matchCase ? Sci::SCFIND_MATCHCASE : 0) | (request.wholeWord ? Sci::SCFIND_WHOLEWORD : 0)
                    | (request.regex ? Sci::SCFIND_REGEXP | Sci::SCFIND_POSIX : 0);
        d->send(Sci::SCI_SETSEARCHFLAGS, flags);
        d->send(Sci::SCI_SETTARGETRANGE, selStart, selEnd);
        const long at = d->send(Sci::SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
        if (at == selStart && d->send(Sci::SCI_GETTARGETEND) == selEnd) {
            long written = 0;
            {
                Private::Quiet quiet(d);
                d->send(Sci::SCI_BEGINUNDOACTION);
                written = d->send(request.regex ? Sci::SCI_REPLACETARGETRE : Sci::SCI_REPLACETARGET,
                                  request.with.size(), request.with.constData());
                d->send(Sci::SCI_ENDUNDOACTION);
            }
            const long caret = request.backwards ? selStart : selStart + written;
            d->send(Sci::SCI_SETSEL, caret, caret);
            ++d->changeCount;
            d->pendingChange = true;
            d->settle();
        }
    }
    return findNext(request);
}

qint64 CodeEdit::replaceAll(const FindRequest &request)
{
    d->lastFind = request;
    d->hasLastFind = true;
    if (request.what.isEmpty())
        return 0;
    const int flags = (request.matchCase ? Sci::SCFIND_MATCHCASE : 0) | (request.wholeWord ? Sci::SCFIND_WHOLEWORD : 0)
                      | (request.regex ? Sci::SCFIND_REGEXP | Sci::SCFIND_POSIX : 0);
    const unsigned int replaceMsg = request.regex ? Sci::SCI_REPLACETARGETRE : Sci::SCI_REPLACETARGET;
    qint64 count = 0;
    const long caret = d->send(Sci::SCI_GETCURRENTPOS);
    {
        Private::Quiet quiet(d);
        d->send(Sci::SCI_SETSEARCHFLAGS, flags);
        long pos = 0;
        long end = d->length();
        bool grouped = false;
        while (pos <= end) {
            d->send(Sci::SCI_SETTARGETRANGE, pos, end);
            const long at = d->send(Sci::SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
            if (at < 0)
                break;
            if (!grouped) {
                d->send(Sci::SCI_BEGINUNDOACTION);
                grouped = true;
            }
            const long matchEnd = d->send(Sci::SCI_GETTARGETEND);
            const long written = d->send(replaceMsg, request.with.size(), request.with.constData());
            ++count;
            end += written - (matchEnd - at);
            pos = at + written;
            if (matchEnd == at) { // an empty match: step over one character
                if (pos >= end)
                    break;
                pos = d->send(Sci::SCI_POSITIONAFTER, pos);
            }
        }
        if (grouped)
            d->send(Sci::SCI_ENDUNDOACTION);
    }
    if (count > 0) {
        d->placeCaret(std::min<long>(caret, d->length()));
        ++d->changeCount;
        d->pendingChange = true;
        d->settle();
    }
    return count;
}

void CodeEdit::showFindDialog(bool replace)
{
    if (!d->dialog)
        d->dialog = new FindReplaceDialog(this);
    QByteArray seed = SelectedText();
    if (seed.contains('\n') || seed.contains('\r') || seed.size() > 200)
        seed.clear();
    d->dialog->present(replace, QString::fromUtf8(seed));
}

} // namespace kestrin
