#pragma once
// Scintilla's Qt widget as the component uses it: the keyboard and input-method events it reports,
// the change and selection bookkeeping (each change and each caret move reported once, after the
// edit that made it), the HTML lexer of each document, auto-indent, bounded brace matching and the
// line-number margin. The rest of the component drives it through send.
#include "document/Document.h"

#include <ScintillaEditBase.h>

#include <functional>

namespace kestrin {

class SciEditor : public ScintillaEditBase {
    Q_OBJECT
public:
    explicit SciEditor(QWidget *parent);

    // Room left after a loaded or replaced text, so the first keystrokes do not regrow the buffer.
    static constexpr long AllocationSlack = 1024;

    // Every message; one that moves the caret or the selection reports it at once (outside the
    // component's own quiet edits, which report when they are done).
    long send(unsigned int msg, unsigned long w = 0, long l = 0) const override;
    long send(unsigned int msg, unsigned long w, const char *l) const { return send(msg, w, reinterpret_cast<long>(l)); }
    long send(unsigned int msg, unsigned long w, void *l) const { return send(msg, w, reinterpret_cast<long>(l)); }
    long length() const;
    // A copy of the bytes start .. end.
    QByteArray range(long start, long end) const;
    // pos, or the start of the character it falls in.
    long characterStart(long pos) const;
    // The caret to pos with nothing selected, scrolled into view when there is a view.
    void placeCaret(long pos);
    void setEolMode(LineEnd style);
    bool overwriteMode() const { return send(SCI_GETOVERTYPE) != 0; }
    bool isReadOnly() const { return send(SCI_GETREADONLY) != 0; }

    // The HTML lexer (with PHP, JavaScript and CSS inside) for this and every later document; in
    // Scintilla the lexer belongs to the document, so a loaded document gets its own.
    void setHtmlLexer(bool on);
    bool hasHtmlLexer() const { return m_htmlLexer; }
    // Changes whenever the view is given another document (no change is reported for that).
    quint64 documentSerial() const { return m_documentSerial; }
    // A new line takes the indentation of the last line above it that has text.
    void setAutoIndent(bool on) { m_autoIndent = on; }

    // A fresh document filled piece by piece (Document::load): once finished it replaces the
    // text, with no undo history, no change reported, the caret at the start.
    std::unique_ptr<TextStore::Loader> loader();

    // The component's own edits (commands, search, Undo and Redo, the accessible's): change makes
    // them quietly, each replace joining one undo step, and returns where the caret goes then
    // (placeCaret), KeepCaret to leave it, or NoChange when nothing changed. A change is reported
    // once, when done. True when the text changed.
    static constexpr long KeepCaret = -1, NoChange = -2;
    bool edit(const std::function<long()> &change);
    // Inside change: replaces [from, to) with utf8; the number of bytes written.
    long replace(long from, long to, const QByteArray &utf8);
    // Reports a pending change and a moved caret, each once.
    void settle();
    quint64 changeCount() const { return m_changeCount; }
    void setChangesObserved(bool on) { m_changesObserved = on; }

    // Every change of the text as the engine makes it, quiet edits, Undo and Redo included (not a
    // load): that one is coming, then the bytes inserted or the range removed.
    struct ChangeFeed {
        virtual ~ChangeFeed() = default;
        virtual void changing() = 0;
        virtual void inserted(long pos, const char *text, long n) = 0;
        virtual void removed(long pos, long n) = 0;
    };
    void setChangeFeed(ChangeFeed *feed);

    void setLineNumbers(bool on);
    void setBoundedBraceMatching(bool on);
    // The brace just before the caret, else just after it; -1 for none.
    long braceAtCaret() const;
    // The partner of the brace at brace (within a bounded window), or one of these.
    static constexpr long NoPartner = -1, PartnerBeyondWindow = -2;
    long bracePartner(long brace) const;
    // The bytes from .. to, each followed by its style.
    QByteArray styledCells(long from, long to) const;
    // A copy of the bytes from .. to.
    QByteArray copyRange(long from, long to) const;
    // The style of a position, read straight from the current document (valid while it is shown).
    std::function<int(long)> styleReader() const;
    // Sees each key after KeyDown and before the engine; true when it handled the key.
    void setKeyHook(std::function<bool(QKeyEvent *)> hook) { m_keyHook = std::move(hook); }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    // A key went down (Windows virtual-key code; shift 1 Shift + 2 Ctrl + 4 Alt), before the
    // editor acts on it.
    void keyDown(int keyCode, int shift);
    // The keystroke (or committed input-method text) just handled changed the text.
    void keystrokeChanged();
    void overtypeToggled(bool on);
    // Any finished change of the text (not a load).
    void changed();
    void selectionMoved();

protected:
    bool event(QEvent *e) override;
    bool viewportEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;

private:
    struct Loader;
    // Silences Scintilla's change notifications for an edit the component reports itself. While the
    // changes are observed (the accessible reports each one) they still reach SCN_MODIFIED, and
    // only this class's own bookkeeping skips them.
    struct Quiet {
        SciEditor *editor;
        explicit Quiet(SciEditor *e);
        ~Quiet();
    };
    void adopt(void *document);
    void textChanged();
    void noteChange();
    void flush();
    void checkSelection();
    void updateMarginWidth();
    void matchBraces();
    void fitPositionCache();
    QVariant caretQuery(Qt::InputMethodQuery query) const;
    void attachLexer();
    void onNotify(Scintilla::NotificationData *n);
    void maintainIndentation(int ch);

    quint64 m_changeCount = 0;
    bool m_pendingChange = false;
    quint64 m_documentSerial = 0;
    bool m_flushQueued = false;
    long m_lastAnchor = 0;
    long m_lastCaret = 0;
    bool m_lineNumbers = false;
    bool m_braceMatching = false;
    bool m_changesObserved = false;
    bool m_htmlLexer = false;
    bool m_autoIndent = false;
    int m_quiet = 0;
    bool m_stepOpen = false; // an edit's undo step has begun
    ChangeFeed *m_feed = nullptr;
    int modEventMask() const;

    long m_positionCache = 1024; // Scintilla's default
    std::function<bool(QKeyEvent *)> m_keyHook;
};

} // namespace kestrin
