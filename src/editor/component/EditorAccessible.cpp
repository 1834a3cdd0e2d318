#include "EditorAccessible.h"

#include "SciEditor.h"
#include "textutil/Utf8.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <algorithm>
#include <climits>

namespace kestrin {

namespace {

constexpr long Utf16 = SC_LINECHARACTERINDEX_UTF16;

// SCI_GETTEXTRANGE's argument.
struct TextRange {
    struct { long cpMin, cpMax; } chrg;
    char *text;
};

int clampInt(long value) { return int(std::clamp<long>(value, 0, INT_MAX)); }

// --- offsets (UTF-16 units) and positions (bytes) ------------------------------------------------

// The offset of one position, kept right across edits by the change reporter: offsets on a long
// line are counted from it rather than from the line's start (a key on a line of megabytes counted
// the whole line for each of its events).
struct KnownOffset {
    long pos = -1;
    long units = 0;
    quint64 serial = 0; // the document it was counted in
    bool validIn(const SciEditor *e) const { return pos >= 0 && serial == e->documentSerial() && pos <= e->length(); }
};

// The offset of pos, counted from the nearer of its line's start and the known offset, which then
// moves to pos.
int offsetOf(const SciEditor *e, long pos, KnownOffset *known = nullptr)
{
    pos = std::clamp<long>(pos, 0, e->length());
    const long line = e->send(SCI_LINEFROMPOSITION, pos);
    const long start = e->send(SCI_POSITIONFROMLINE, line);
    long units = 0;
    if (known && known->validIn(e) && std::abs(pos - known->pos) < pos - start)
        units = known->pos <= pos ? known->units + e->send(SCI_COUNTCODEUNITS, known->pos, pos)
                                  : known->units - e->send(SCI_COUNTCODEUNITS, pos, known->pos);
    else
        units = e->send(SCI_INDEXPOSITIONFROMLINE, line, Utf16) + e->send(SCI_COUNTCODEUNITS, start, pos);
    if (known)
        *known = KnownOffset{pos, units, e->documentSerial()};
    return clampInt(units);
}

int characterCount(const SciEditor *e, const KnownOffset *known = nullptr)
{
    KnownOffset from = known ? *known : KnownOffset{}; // the known offset stays where it is
    return offsetOf(e, e->length(), known ? &from : nullptr);
}

// The position of an offset; an offset inside a surrogate pair gives the character's start.
// Walked here a block at a time: Scintilla's relative move runs past the end on such an offset.
long positionOf(const SciEditor *e, int offset, const KnownOffset *known = nullptr)
{
    offset = std::clamp(offset, 0, characterCount(e, known));
    const long line = e->send(SCI_LINEFROMINDEXPOSITION, offset, Utf16);
    long pos = e->send(SCI_POSITIONFROMLINE, line);
    long units = offset - e->send(SCI_INDEXPOSITIONFROMLINE, line, Utf16);
    if (known && known->validIn(e) && known->pos > pos && known->units <= offset) {
        pos = known->pos; // on the same line, before the offset: walk on from there
        units = offset - known->units;
    }
    const long end = e->length();
    char block[4096 + 1];
    while (units > 0 && pos < end) {
        const long n = std::min<long>(4096, end - pos);
        TextRange range{{pos, pos + n}, block};
        e->send(SCI_GETTEXTRANGE, 0, &range);
        long i = 0;
        while (units > 0 && i < n) {
            const int len = utf8::sequenceLength(uchar(block[i]));
            if (i + len > n && pos + n < end)
                break; // the sequence continues in the next block
            const int need = len == 4 ? 2 : 1;
            if (need > units)
                return pos + i;
            units -= need;
            i += len;
        }
        if (i == 0)
            break;
        pos += i;
    }
    return std::min(pos, end);
}

QString textOf(const SciEditor *e, long from, long to)
{
    if (to <= from)
        return QString();
    QByteArray bytes(to - from + 1, Qt::Uninitialized);
    TextRange range{{from, to}, bytes.data()};
    e->send(SCI_GETTEXTRANGE, 0, &range);
    return QString::fromUtf8(bytes.constData(), to - from);
}

// The segment [from, to) of the given kind that holds the character at pos. Words are runs of one
// character class (word characters, punctuation, blanks, line ends), as Scintilla classifies them;
// sentences and paragraphs are lines, which is what they are in source code.
bool segmentAt(const SciEditor *e, long pos, QAccessible::TextBoundaryType type, long *from, long *to)
{
    const long end = e->length();
    switch (type) {
    case QAccessible::CharBoundary:
        if (pos >= end)
            return false;
        *from = pos;
        *to = e->send(SCI_POSITIONAFTER, pos);
        return true;
    case QAccessible::WordBoundary:
        if (pos >= end)
            return false;
        *to = e->send(SCI_WORDENDPOSITION, pos, 0L);
        *from = e->send(SCI_WORDSTARTPOSITION, e->send(SCI_POSITIONAFTER, pos), 0L);
        return *to > *from;
    case QAccessible::NoBoundary:
        *from = 0;
        *to = end;
        return true;
    default: {
        const long line = e->send(SCI_LINEFROMPOSITION, pos);
        *from = e->send(SCI_POSITIONFROMLINE, line);
        *to = e->send(SCI_POSITIONFROMLINE, line + 1);
        return *to > *from || pos == end;
    }
    }
}

// --- events ---------------------------------------------------------------------------------------

// Turns Scintilla's "before" change notifications into insert and remove events, and caret moves
// into caret and selection events. An insertion's text is read once it is in the document: at the
// next notification or when the editor settles, whichever comes first.
class ChangeReporter : public QObject {
public:
    explicit ChangeReporter(SciEditor *e) : QObject(e), m_sci(e)
    {
        setObjectName(QStringLiteral("ChangeReporter"));
        e->send(SCI_ALLOCATELINECHARACTERINDEX, Utf16);
        e->setChangesObserved(true);
        connect(e, &ScintillaEditBase::modified, this,
                [this](Scintilla::ModificationFlags type, Scintilla::Position pos, Scintilla::Position len) {
                    modified(int(type), long(pos), long(len));
                });
        connect(e, &SciEditor::changed, this, [this] { settled(); });
        connect(e, &SciEditor::selectionMoved, this, [this] { settled(); });
    }

    KnownOffset *known() { return &m_known; }

private:
    void modified(int type, long pos, long len)
    {
        if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
            return;
        flushInsert();
        if (m_known.pos > pos)
            offsetOf(m_sci, pos, &m_known); // what comes before the change stays as it is
        if (!QAccessible::isActive() || len > MaxEventBytes)
            return;
        if (type & SC_MOD_BEFOREINSERT) {
            m_insertPos = pos;
            m_insertLen = len;
            m_insertOffset = offsetOf(m_sci, pos, &m_known);
        } else {
            QAccessibleTextRemoveEvent event(m_sci, offsetOf(m_sci, pos, &m_known), textOf(m_sci, pos, pos + len));
            QAccessible::updateAccessibility(&event);
        }
    }

    void flushInsert()
    {
        if (m_insertPos < 0)
            return;
        const long pos = m_insertPos;
        m_insertPos = -1;
        if (pos + m_insertLen > m_sci->length() || !QAccessible::isActive())
            return;
        QAccessibleTextInsertEvent event(m_sci, m_insertOffset, textOf(m_sci, pos, pos + m_insertLen));
        QAccessible::updateAccessibility(&event);
    }

    void settled()
    {
        flushInsert();
        if (!QAccessible::isActive())
            return;
        const long anchor = m_sci->send(SCI_GETANCHOR);
        const long caret = m_sci->send(SCI_GETCURRENTPOS);
        // The caret's offset is counted last, so it is the one known: the next edit is likely there.
        const int anchorOffset = offsetOf(m_sci, anchor, &m_known);
        const int caretOffset = anchor == caret ? anchorOffset : offsetOf(m_sci, caret, &m_known);
        const int selStart = std::min(caretOffset, anchorOffset), selEnd = std::max(caretOffset, anchorOffset);
        if (selStart != m_selStart || selEnd != m_selEnd) {
            if (selStart != selEnd || m_selStart != m_selEnd) {
                QAccessibleTextSelectionEvent event(m_sci, selStart, selEnd);
                QAccessible::updateAccessibility(&event);
            }
            m_selStart = selStart;
            m_selEnd = selEnd;
        }
        if (caretOffset != m_caret) {
            m_caret = caretOffset;
            QAccessibleTextCursorEvent event(m_sci, caretOffset);
            QAccessible::updateAccessibility(&event);
        }
    }

    SciEditor *m_sci;
    KnownOffset m_known;
    long m_insertPos = -1;
    long m_insertLen = 0;
    int m_insertOffset = 0;
    int m_caret = -1;
    int m_selStart = -1;
    int m_selEnd = -1;
};

// --- the accessible --------------------------------------------------------------------------------

class EditorAccessible : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface,
                         public QAccessible::ActivationObserver {
public:
    // Qt makes this object whenever the widget's name is set, with or without assistive
    // technology; the character index and the change reports cost every edit of a large document,
    // so they start only once a bridge is active or someone asks for the text.
    explicit EditorAccessible(SciEditor *e) : QAccessibleWidget(e, QAccessible::EditableText)
    {
        if (QAccessible::isActive())
            watch();
        else
            QAccessible::installActivationObserver(this);
    }
    ~EditorAccessible() override { QAccessible::removeActivationObserver(this); }

    void accessibilityActiveChanged(bool active) override
    {
        if (active && sci())
            watch();
    }

    SciEditor *sci() const { return static_cast<SciEditor *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) {
            watch();
            return static_cast<QAccessibleTextInterface *>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            watch();
            return static_cast<QAccessibleEditableTextInterface *>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    ChangeReporter *reporter() const
    {
        return static_cast<ChangeReporter *>(sci()->findChild<QObject *>(QStringLiteral("ChangeReporter"), Qt::FindDirectChildrenOnly));
    }
    void watch()
    {
        if (!reporter())
            new ChangeReporter(sci());
    }
    // The offset the change reporter keeps known, null before it starts.
    KnownOffset *known() const { return reporter() ? reporter()->known() : nullptr; }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !sci()->isReadOnly();
        s.readOnly = sci()->isReadOnly();
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    // --- text
    int characterCount() const override { return kestrin::characterCount(sci(), known()); }
    int cursorPosition() const override { return offsetOf(sci(), sci()->send(SCI_GETCURRENTPOS), known()); }

    void setCursorPosition(int offset) override
    {
        sci()->placeCaret(positionOf(sci(), offset, known()));
        sci()->settle();
    }

    QString text(int startOffset, int endOffset) const override
    {
        if (endOffset < 0)
            endOffset = characterCount();
        startOffset = std::max(startOffset, 0);
        endOffset = int(std::min<qint64>(endOffset, qint64(startOffset) + MaxTextUnits));
        if (endOffset <= startOffset)
            return QString();
        const long from = positionOf(sci(), startOffset, known());
        return textOf(sci(), from, positionOf(sci(), endOffset, known()));
    }
    using QAccessibleWidget::text;

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        return segment(positionOf(sci(), offset, known()), type, start, end);
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        long from = 0, to = 0;
        const long pos = positionOf(sci(), offset, known());
        if (!segmentAt(sci(), pos, type, &from, &to))
            from = pos; // past the end: the segment before is the one ending there
        if (from == 0 || type == QAccessible::NoBoundary)
            return none(offset, start, end);
        return segment(sci()->send(SCI_POSITIONBEFORE, from), type, start, end);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        long from = 0, to = 0;
        if (!segmentAt(sci(), positionOf(sci(), offset, known()), type, &from, &to) || to >= sci()->length()
            || type == QAccessible::NoBoundary)
            return none(characterCount(), start, end);
        return segment(to, type, start, end);
    }

    QRect characterRect(int offset) const override
    {
        const long pos = positionOf(sci(), offset, known());
        const int x = int(sci()->send(SCI_POINTXFROMPOSITION, 0, pos));
        const int y = int(sci()->send(SCI_POINTYFROMPOSITION, 0, pos));
        const long line = sci()->send(SCI_LINEFROMPOSITION, pos);
        const long after = sci()->send(SCI_POSITIONAFTER, pos);
        int width = after > pos && sci()->send(SCI_LINEFROMPOSITION, after) == line
                        ? int(sci()->send(SCI_POINTXFROMPOSITION, 0, after)) - x
                        : 0;
        if (width <= 0)
            width = int(sci()->send(SCI_TEXTWIDTH, STYLE_DEFAULT, " "));
        const int height = int(sci()->send(SCI_TEXTHEIGHT, line));
        return QRect(sci()->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height));
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint p = sci()->viewport()->mapFromGlobal(point);
        const long pos = sci()->send(SCI_CHARPOSITIONFROMPOINTCLOSE, p.x(), p.y());
        return pos < 0 ? -1 : offsetOf(sci(), pos, known());
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        sci()->send(SCI_SCROLLRANGE, positionOf(sci(), endIndex, known()), positionOf(sci(), startIndex, known()));
    }

    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return QString();
    }

    // --- selection: the editor has one
    int selectionCount() const override { return sci()->send(SCI_GETSELECTIONEMPTY) ? 0 : 1; }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = -1;
        if (index != 0 || selectionCount() == 0)
            return;
        *start = offsetOf(sci(), sci()->send(SCI_GETSELECTIONSTART), known());
        *end = offsetOf(sci(), sci()->send(SCI_GETSELECTIONEND), known());
    }

    void setSelection(int index, int start, int end) override
    {
        if (index != 0)
            return;
        sci()->send(SCI_SETSEL, positionOf(sci(), start, known()), positionOf(sci(), end, known()));
        sci()->settle();
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            setCursorPosition(cursorPosition());
    }

    // --- editing: one undo step each, reported as any change of the text
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        if (sci()->isReadOnly())
            return;
        const long from = positionOf(sci(), std::min(start, end), known());
        const long to = positionOf(sci(), std::max(start, end), known());
        sci()->edit([&] {
            sci()->replace(from, to, text.toUtf8());
            return SciEditor::KeepCaret;
        });
    }

private:
    QString segment(long pos, QAccessible::TextBoundaryType type, int *start, int *end) const
    {
        long from = 0, to = 0;
        if (!segmentAt(sci(), pos, type, &from, &to))
            return none(characterCount(), start, end);
        *start = offsetOf(sci(), from, known());
        *end = offsetOf(sci(), to, known());
        if (*end - *start > MaxTextUnits)
            return text(*start, *end);
        return textOf(sci(), from, to);
    }

    static QString none(int offset, int *start, int *end)
    {
        *start = *end = offset;
        return QString();
    }
};

QAccessibleInterface *editorAccessible(const QString &, QObject *object)
{
    if (auto *editor = qobject_cast<SciEditor *>(object))
        return new EditorAccessible(editor);
    return nullptr;
}

} // namespace

void installEditorAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(editorAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kestrin
