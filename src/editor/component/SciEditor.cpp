#include "SciEditor.h"

#include "BraceMatch.h"
#include "HtmlLexer.h"
#include "common/ShiftState.h"
#include "textutil/Utf8.h"

#include <ILoader.h>
#include <ScintillaQt.h> // the engine's Document, whose styles are read in place

#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace kestrin {

namespace {

// The engine's context menu asks for its items by these words and translates them in the context
// "ScintillaQt" (third_party/patches/0003); listed here for lupdate, which reads only our sources.
[[maybe_unused]] constexpr const char *ContextMenuWords[] = {
    QT_TRANSLATE_NOOP("ScintillaQt", "Undo"),  QT_TRANSLATE_NOOP("ScintillaQt", "Redo"),
    QT_TRANSLATE_NOOP("ScintillaQt", "Cut"),   QT_TRANSLATE_NOOP("ScintillaQt", "Copy"),
    QT_TRANSLATE_NOOP("ScintillaQt", "Paste"), QT_TRANSLATE_NOOP("ScintillaQt", "Delete"),
    QT_TRANSLATE_NOOP("ScintillaQt", "Select All")};

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

// Only the "before" notifications are asked for: they tell just as well that the text is about to
// change, the change is reported once it is complete, and a batch of replacements does not pay
// for a notification carrying each inserted text.
constexpr int kModEventMask = SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE;

// Input methods get this many bytes each side of the caret.
constexpr long kImWindow = 1024;

// The position cache gets an entry for every this many bytes of the longest line shown, up to
// the most below (some 16 MB of entries).
constexpr long kBytesPerCachedSegment = 12;
constexpr long kPositionCacheMost = 1 << 20;

// The partner of a brace is looked for within this many bytes.
constexpr long kBraceWindow = 64 * 1024;

} // namespace

struct SciEditor::Loader : TextStore::Loader {
    explicit Loader(SciEditor *e) : editor(e) {}
    ~Loader() override { drop(); }
    bool begin(qsizetype bytes) override
    {
        // Started again (the text is read again in another encoding): the first buffers go back
        // before the new ones are faulted in, or the two would add up.
        if (loader) {
            drop();
            if (TextStore::droppedText)
                TextStore::droppedText();
        }
        loader = reinterpret_cast<Scintilla::ILoader *>(editor->send(SCI_CREATELOADER, ulong(bytes + AllocationSlack), 0L));
        return loader != nullptr;
    }
    bool append(const char *utf8, qsizetype n) override
    {
        return loader && loader->AddData(utf8, n) == SC_STATUS_OK;
    }
    void finish(const TextFormat &format) override
    {
        editor->adopt(std::exchange(loader, nullptr)->ConvertToDocument());
        editor->setEolMode(format.lineEnd);
    }
    void drop()
    {
        if (loader)
            loader->Release();
        loader = nullptr;
    }
    SciEditor *editor;
    Scintilla::ILoader *loader = nullptr;
};

SciEditor::SciEditor(QWidget *parent) : ScintillaEditBase(parent)
{
    // The sunken frame of Qt's scroll areas, which Scintilla's widget turns off.
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    send(SCI_SETCODEPAGE, SC_CP_UTF8);
    send(SCI_SETEOLMODE, SC_EOL_LF);
    send(SCI_SETMODEVENTMASK, kModEventMask);
    // Style what is shown, and the rest in idle time, never the whole document at once.
    send(SCI_SETIDLESTYLING, SC_IDLESTYLING_TOVISIBLE);
    // A layout kept for every line on the page: with the default (the caret's line only) drawing
    // any other line throws away the layout of a long line, which is then made whole on each key.
    send(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
    // A horizontal scroll bar only once a line wider than the view has been shown, and as wide as
    // the widest line seen; by default Scintilla shows one for 2000 pixels even when empty.
    send(SCI_SETSCROLLWIDTH, 1);
    send(SCI_SETSCROLLWIDTHTRACKING, 1);
    send(SCI_SETMARGINWIDTHN, 1, 0L); // the default symbol margin: unused
    send(SCI_SETMARGINTYPEN, 0, SC_MARGIN_NUMBER);
    send(SCI_SETMARGINWIDTHN, 0, 0L);
    // The caret is kept four lines from the edges when it moves out of view, as editors do.
    send(SCI_SETVISIBLEPOLICY, VISIBLE_STRICT | VISIBLE_SLOP, 4);
    // Words for double-click, whole-word search and word moves: HTML and CSS names keep their '-'.
    send(SCI_SETWORDCHARS, 0, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-");
    send(SCI_SETMOUSEDOWNCAPTURES, 0L);

    connect(this, &ScintillaEditBase::notify, this, &SciEditor::onNotify);
}

void SciEditor::onNotify(Scintilla::NotificationData *n)
{
    switch (static_cast<int>(n->nmhdr.code)) {
    case SCN_MODIFIED: {
        const int type = static_cast<int>(n->modificationType);
        if (type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)) {
            if (m_feed)
                m_feed->changing();
            if (m_quiet == 0)
                noteChange();
        } else if (m_feed && (type & SC_MOD_INSERTTEXT)) {
            m_feed->inserted(long(n->position), n->text, long(n->length));
        } else if (m_feed && (type & SC_MOD_DELETETEXT)) {
            m_feed->removed(long(n->position), long(n->length));
        }
        break;
    }
    case SCN_UPDATEUI: {
        const int updated = static_cast<int>(n->updated);
        if (updated & SC_UPDATE_SELECTION)
            checkSelection();
        if (updated & (SC_UPDATE_SELECTION | SC_UPDATE_CONTENT))
            matchBraces();
        break;
    }
    case SCN_CHARADDED:
        if (m_autoIndent)
            maintainIndentation(n->ch);
        break;
    default: break;
    }
}

// A line break typed: the new line starts at the indentation of the last line above it with text.
void SciEditor::maintainIndentation(int ch)
{
    const long eol = send(SCI_GETEOLMODE);
    if (ch != (eol == SC_EOL_CR ? '\r' : '\n'))
        return;
    const long caret = send(SCI_GETCURRENTPOS);
    if (caret != send(SCI_GETANCHOR))
        return;
    const long line = send(SCI_LINEFROMPOSITION, caret);
    long indent = 0;
    for (long above = line - 1; above >= 0; --above) {
        if (send(SCI_GETLINEENDPOSITION, above) > send(SCI_POSITIONFROMLINE, above)) {
            indent = send(SCI_GETLINEINDENTATION, above);
            break;
        }
    }
    if (indent <= 0)
        return;
    const long before = send(SCI_GETLINEINDENTPOSITION, line);
    send(SCI_SETLINEINDENTATION, line, indent);
    const long after = send(SCI_GETLINEINDENTPOSITION, line);
    if (after != before)
        send(SCI_SETEMPTYSELECTION, std::max(after, caret + (after - before)));
}

void SciEditor::setHtmlLexer(bool on)
{
    if (m_htmlLexer == on)
        return;
    m_htmlLexer = on;
    attachLexer();
}

void SciEditor::attachLexer()
{
    if (!m_htmlLexer) {
        send(SCI_SETILEXER, 0, 0L);
        return;
    }
    send(SCI_SETILEXER, 0, createHtmlLexer());
    for (int set = 0; set < kHtmlKeywordSets; ++set)
        send(SCI_SETKEYWORDS, ulong(set), htmlKeywords(set));
}

long SciEditor::send(unsigned int msg, unsigned long w, long l) const
{
    const long result = ScintillaEditBase::send(msg, w, l);
    if (m_quiet == 0)
        const_cast<SciEditor *>(this)->checkSelection();
    return result;
}

long SciEditor::length() const { return send(SCI_GETLENGTH); }

QByteArray SciEditor::range(long start, long end) const
{
    if (end <= start)
        return QByteArray();
    const char *p = reinterpret_cast<const char *>(send(SCI_GETRANGEPOINTER, start, end - start));
    return QByteArray(p, end - start);
}

// Scintilla takes a position inside a UTF-8 character as it is, and text typed there breaks the
// character: a position kept across a change (Replace All) is moved back to its character's start.
// Scrolling lays out the caret's line, wasted work in an editor that is not shown.
long SciEditor::characterStart(long pos) const
{
    return utf8::characterStart(pos, [this](long at) { return send(SCI_GETCHARAT, at); });
}

void SciEditor::placeCaret(long pos)
{
    send(SCI_SETEMPTYSELECTION, characterStart(std::clamp(pos, 0L, length())));
    if (isVisible())
        send(SCI_SCROLLCARET);
}

void SciEditor::setEolMode(LineEnd style)
{
    send(SCI_SETEOLMODE, style == LineEnd::CRLF ? SC_EOL_CRLF : style == LineEnd::CR ? SC_EOL_CR : SC_EOL_LF);
}

std::unique_ptr<TextStore::Loader> SciEditor::loader() { return std::make_unique<Loader>(this); }

void SciEditor::adopt(void *doc)
{
    // Scintilla keeps these with the document: the new one takes them from the old.
    const long tabWidth = send(SCI_GETTABWIDTH), indent = send(SCI_GETINDENT), useTabs = send(SCI_GETUSETABS);
    const long tabIndents = send(SCI_GETTABINDENTS), unindents = send(SCI_GETBACKSPACEUNINDENTS);
    const long characterIndex = send(SCI_GETLINECHARACTERINDEX); // kept while the accessible reports changes
    QByteArray wordChars(send(SCI_GETWORDCHARS) + 1, '\0');
    send(SCI_GETWORDCHARS, 0, wordChars.data());
    m_pendingChange = false;
    ++m_documentSerial;
    {
        Quiet quiet(this);
        send(SCI_SETDOCPOINTER, 0, doc);
        send(SCI_RELEASEDOCUMENT, 0, doc); // the view holds it now
        send(SCI_SETCODEPAGE, SC_CP_UTF8);
        send(SCI_SETTABWIDTH, tabWidth);
        send(SCI_SETINDENT, indent);
        send(SCI_SETUSETABS, useTabs);
        send(SCI_SETTABINDENTS, tabIndents);
        send(SCI_SETBACKSPACEUNINDENTS, unindents);
        send(SCI_SETWORDCHARS, 0, wordChars.constData());
        if (characterIndex != SC_LINECHARACTERINDEX_NONE)
            send(SCI_ALLOCATELINECHARACTERINDEX, ulong(characterIndex));
        attachLexer();
        send(SCI_SETUNDOCOLLECTION, 1);
        send(SCI_SETSAVEPOINT);
        send(SCI_SETEMPTYSELECTION, 0);
        send(SCI_SETFIRSTVISIBLELINE, 0);
        send(SCI_SETXOFFSET, 0);
        send(SCI_SETSCROLLWIDTH, 1); // the previous document's widest line is gone
    }
    updateMarginWidth();
    checkSelection();
}

// The journal needs the texts of the changes; without it only "before" notifications are asked for.
int SciEditor::modEventMask() const { return kModEventMask | (m_feed ? SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT : 0); }

void SciEditor::setChangeFeed(ChangeFeed *feed)
{
    m_feed = feed;
    if (m_quiet == 0 || m_changesObserved || feed)
        send(SCI_SETMODEVENTMASK, modEventMask());
}

SciEditor::Quiet::Quiet(SciEditor *e) : editor(e)
{
    if (editor->m_quiet++ == 0 && !editor->m_changesObserved && !editor->m_feed)
        editor->send(SCI_SETMODEVENTMASK, 0);
}
SciEditor::Quiet::~Quiet()
{
    if (--editor->m_quiet == 0)
        editor->send(SCI_SETMODEVENTMASK, editor->modEventMask());
}

bool SciEditor::edit(const std::function<long()> &change)
{
    long caret;
    {
        Quiet quiet(this);
        caret = change();
        if (std::exchange(m_stepOpen, false))
            send(SCI_ENDUNDOACTION);
    }
    if (caret == NoChange)
        return false;
    if (caret != KeepCaret)
        placeCaret(caret);
    textChanged();
    return true;
}

long SciEditor::replace(long from, long to, const QByteArray &utf8)
{
    // Begun with the first change, so an edit that changes nothing leaves no undo step.
    if (!std::exchange(m_stepOpen, true))
        send(SCI_BEGINUNDOACTION);
    send(SCI_SETTARGETRANGE, from, to);
    return send(SCI_REPLACETARGET, utf8.size(), utf8.constData());
}

void SciEditor::textChanged()
{
    ++m_changeCount;
    m_pendingChange = true;
    settle();
}

void SciEditor::noteChange()
{
    ++m_changeCount;
    m_pendingChange = true;
    // Paths that neither pass through the event handlers nor the component's members (none are
    // known) still get their report once control returns to the event loop.
    if (!m_flushQueued) {
        m_flushQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_flushQueued = false;
            settle();
        });
    }
}

void SciEditor::flush()
{
    if (!m_pendingChange)
        return;
    m_pendingChange = false;
    updateMarginWidth();
    Q_EMIT changed();
}

// Scintilla's own update notification only comes with the next paint.
void SciEditor::checkSelection()
{
    const long anchor = ScintillaEditBase::send(SCI_GETANCHOR);
    const long caret = ScintillaEditBase::send(SCI_GETCURRENTPOS);
    if (anchor == m_lastAnchor && caret == m_lastCaret)
        return;
    m_lastAnchor = anchor;
    m_lastCaret = caret;
    Q_EMIT selectionMoved();
}

void SciEditor::settle()
{
    flush();
    checkSelection();
}

void SciEditor::setLineNumbers(bool on)
{
    m_lineNumbers = on;
    updateMarginWidth();
}

void SciEditor::updateMarginWidth()
{
    if (!m_lineNumbers) {
        send(SCI_SETMARGINWIDTHN, 0, 0L);
        return;
    }
    const long lines = send(SCI_GETLINECOUNT);
    int digits = 3;
    for (long n = lines; n >= 1000; n /= 10)
        ++digits;
    const QByteArray sample = "_" + QByteArray(digits, '9');
    const long width = send(SCI_TEXTWIDTH, STYLE_LINENUMBER, sample.constData());
    if (send(SCI_GETMARGINWIDTHN, 0) != width)
        send(SCI_SETMARGINWIDTHN, 0, width);
}

void SciEditor::setBoundedBraceMatching(bool on)
{
    m_braceMatching = on;
    matchBraces();
}

// The brace beside the caret (before it first, then after it) and its partner highlighted, an
// unmatched one marked bad. Scintilla's own search runs to the end of the document, a character
// at a time, on every caret move: on a large file with a brace left open that is most of a second
// per key. Beyond kBraceWindow nothing is marked, rather than a wrong "unmatched".
void SciEditor::matchBraces()
{
    if (!m_braceMatching) {
        send(SCI_BRACEHIGHLIGHT, -1, -1);
        return;
    }
    const long brace = braceAtCaret();
    if (brace < 0) {
        send(SCI_BRACEHIGHLIGHT, -1, -1);
        return;
    }
    const long found = bracePartner(brace);
    if (found >= 0)
        send(SCI_BRACEHIGHLIGHT, brace, found);
    else if (found == NoPartner)
        send(SCI_BRACEBADLIGHT, brace);
    else
        send(SCI_BRACEHIGHLIGHT, -1, -1);
}

long SciEditor::bracePartner(long brace) const
{
    const char ch = char(send(SCI_GETCHARAT, brace));
    if (!braceOpposite(ch))
        return NoPartner;
    const bool forward = ch == '(' || ch == '[' || ch == '{' || ch == '<';
    const long len = length();
    const long from = forward ? brace : std::max(0L, brace - kBraceWindow);
    const long to = forward ? std::min(len, brace + 1 + kBraceWindow) : brace + 1;
    const QByteArray cells = styledCells(from, to);
    const long found = matchBrace(cells.constData(), from, to, brace, send(SCI_GETENDSTYLED));
    if (found >= 0)
        return found;
    return (forward ? to == len : from == 0) ? NoPartner : PartnerBeyondWindow;
}

long SciEditor::braceAtCaret() const
{
    const long caret = send(SCI_GETCURRENTPOS);
    if (caret > 0 && braceOpposite(char(send(SCI_GETCHARAT, caret - 1))))
        return caret - 1;
    if (braceOpposite(char(send(SCI_GETCHARAT, caret))))
        return caret;
    return -1;
}

// A copy, not the range pointer: that would move the buffer's gap away from the caret.
QByteArray SciEditor::copyRange(long start, long end) const
{
    if (end <= start)
        return QByteArray();
    QByteArray out(end - start + 1, Qt::Uninitialized);
    struct { struct { long cpMin, cpMax; } chrg; char *text; } range{{start, end}, out.data()};
    send(SCI_GETTEXTRANGE, 0, &range);
    out.truncate(end - start);
    return out;
}

// A message per style, or a copy of them all, costs more than the search they are read for.
std::function<int(long)> SciEditor::styleReader() const
{
    // The engine hands out its document as the IDocumentEditable it is.
    auto *editable = reinterpret_cast<Scintilla::IDocumentEditable *>(send(SCI_GETDOCPOINTER));
    const Scintilla::IDocument *styles = static_cast<Scintilla::Internal::Document *>(editable);
    return [styles](long pos) { return int(static_cast<unsigned char>(styles->StyleAt(pos))); };
}

// Characters and styles in one copy, interleaved, without moving the buffer's gap.
QByteArray SciEditor::styledCells(long from, long to) const
{
    QByteArray cells(2 * (to - from) + 2, Qt::Uninitialized);
    struct { struct { long cpMin, cpMax; } chrg; char *text; } range{{from, to}, cells.data()};
    send(SCI_GETSTYLEDTEXT, 0, &range);
    cells.truncate(2 * (to - from));
    return cells;
}

bool SciEditor::event(QEvent *e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // The window's shortcuts (Ctrl+N/O/S/Q/X, F5, F6, ...) must win over the editor: leave
        // every Ctrl/Alt/Meta chord and function key to them; keys no shortcut claims still come
        // back as ordinary key presses.
        auto *ke = static_cast<QKeyEvent *>(e);
        const bool chord = ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const bool functionKey = ke->key() >= Qt::Key_F1 && ke->key() <= Qt::Key_F35;
        if (chord || functionKey) {
            e->ignore();
            return false;
        }
    }
    const bool result = ScintillaEditBase::event(e);
    settle();
    return result;
}

// Scintilla measures a changed line whole, segment by segment (a run of one style, cut every
// hundred bytes or so), and keeps short segments in a cache of 1,024 entries. A line of minified
// script has far more segments than that, so every key measured the whole line with the font
// again; with room for all of them only the changed segment is measured. Grown (never shrunk, since
// resizing empties it) when a long line comes into view: the entries cost 16 bytes each.
void SciEditor::fitPositionCache()
{
    const long first = send(SCI_DOCLINEFROMVISIBLE, send(SCI_GETFIRSTVISIBLELINE));
    const long last = first + send(SCI_LINESONSCREEN) + 1;
    long longest = 0;
    for (long line = first; line <= last; ++line)
        longest = std::max(longest, send(SCI_LINELENGTH, line));
    const long wanted = std::min(longest / kBytesPerCachedSegment, kPositionCacheMost);
    if (wanted > m_positionCache) {
        m_positionCache = wanted;
        send(SCI_SETPOSITIONCACHE, wanted);
    }
}

bool SciEditor::viewportEvent(QEvent *e)
{
    if (e->type() == QEvent::Paint)
        fitPositionCache();
    const bool result = ScintillaEditBase::viewportEvent(e);
    settle();
    return result;
}

void SciEditor::keyPressEvent(QKeyEvent *e)
{
    // A change made by the KeyDown handler itself (the window pastes on Ctrl+V) is this
    // keystroke's change too.
    const quint64 before = m_changeCount;
    Q_EMIT keyDown(virtualKey(e->key()), shiftState(e->modifiers()));
    if (m_keyHook && m_keyHook(e)) {
        if (m_changeCount != before)
            Q_EMIT keystrokeChanged();
        return;
    }
    const bool overtypeBefore = overwriteMode();
    ScintillaEditBase::keyPressEvent(e);
    if (m_changeCount != before)
        Q_EMIT keystrokeChanged();
    if (overwriteMode() != overtypeBefore)
        Q_EMIT overtypeToggled(overwriteMode());
}

void SciEditor::inputMethodEvent(QInputMethodEvent *e)
{
    const quint64 before = m_changeCount;
    ScintillaEditBase::inputMethodEvent(e);
    // Pre-edit text is shown in the document too; only a commit is a keystroke's result.
    if (m_changeCount != before && !e->commitString().isEmpty())
        Q_EMIT keystrokeChanged();
}

// Input methods ask for the text around the caret after every key and caret move. Scintilla's Qt
// widget answers with the whole paragraph, which in a document without blank lines is the whole
// document, copied and converted to a QString each time (hundreds of milliseconds per key on a
// 50 MB file). A window of the caret's line is all an input method uses.
QVariant SciEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImSurroundingText:
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
    case Qt::ImCurrentSelection:
        return caretQuery(query);
    default:
        return ScintillaEditBase::inputMethodQuery(query);
    }
}

QVariant SciEditor::caretQuery(Qt::InputMethodQuery query) const
{
    auto bytes = [this](long start, long end) { return copyRange(start, end); };
    const long caret = send(SCI_GETCURRENTPOS);
    const long anchor = send(SCI_GETANCHOR);
    if (query == Qt::ImCurrentSelection) {
        const long from = std::min(caret, anchor), to = std::max(caret, anchor);
        return to - from <= 2 * kImWindow ? QString::fromUtf8(bytes(from, to)) : QString();
    }
    const long line = send(SCI_LINEFROMPOSITION, caret);
    long start = std::max<long>(send(SCI_POSITIONFROMLINE, line), caret - kImWindow);
    long end = std::min<long>(send(SCI_GETLINEENDPOSITION, line), caret + kImWindow);
    QByteArray text = bytes(start, end);
    // Whole characters only: drop a sequence cut at either edge.
    qsizetype head = 0;
    while (head < caret - start && utf8::isContinuation(uchar(text.at(head))))
        ++head;
    qsizetype tail = text.size();
    if (tail > caret - start) {
        qsizetype lead = tail;
        while (lead > caret - start && utf8::isContinuation(uchar(text.at(lead - 1))))
            --lead;
        if (lead > caret - start && tail - (lead - 1) < utf8::sequenceLength(uchar(text.at(lead - 1))))
            tail = lead - 1;
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

} // namespace kestrin
