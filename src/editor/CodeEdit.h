#pragma once
// The code-editing component. It is the only class that talks to QScintilla; the rest of the
// program uses these members. Document text travels as UTF-8 bytes (QByteArray), never as a
// whole-document QString.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>

class QsciScintilla;
class QsciLexerHTML;
class FindReplaceDialog;

namespace kestrin {

enum class LineEnd { CRLF, LF, CR };

class CodeEdit : public QWidget {
    Q_OBJECT
public:
    explicit CodeEdit(QWidget *parent = nullptr);
    ~CodeEdit() override;

    // --- text -------------------------------------------------------------------------------
    // The whole document as UTF-8.
    QByteArray Text() const;
    // The whole document without copying it, for a command that reads it once and then replaces
    // it: valid only until the next change of the text (copy it to keep it longer).
    QByteArray textView() const;
    // Replaces the whole document as one undo step (a single Undo restores the previous text).
    void setText(const QByteArray &utf8);
    // Rewrites the document a block at a time, as one undo step, without a copy of it whole:
    // rewrite gets each block (cut between characters, about blockBytes long) and returns its new
    // bytes, or the block itself when it stays as it is. For rewrites that map each character on
    // its own; resultBytes, the length of the whole result, lets the room for it be made once.
    // Returns whether anything changed; when nothing did, no undo step is recorded.
    bool rewriteText(const std::function<QByteArray(const QByteArray &block)> &rewrite,
                     qsizetype resultBytes, qsizetype blockBytes = 1 << 20);

    // The selection as UTF-8, empty when nothing is selected.
    QByteArray SelectedText() const;
    // At most the first maxBytes bytes of the selection (a character cut at the end is left cut):
    // for readers of a selection's start, without copying a selection of the whole document.
    QByteArray selectedTextHead(qsizetype maxBytes) const;
    // Replaces the selection, or inserts at the caret, as one undo step; the caret ends after the
    // inserted text. Writing exactly the text already selected changes nothing at all.
    void setSelectedText(const QByteArray &utf8);

    // Program texts carry CR LF; this rewrites their line breaks into the document's own style,
    // so the program's insertions never mix line ends.
    QByteArray withDocumentLineEnds(const QByteArray &crlfText) const;
    LineEnd lineEndStyle() const;
    QByteArray lineBreak() const; // "\r\n", "\n" or "\r"

    // --- undo -------------------------------------------------------------------------------
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();

    // --- numbered commands --------------------------------------------------------------------
    // 137 select all, 140 paste, 169 replace dialog, 176 find next, 178 find dialog, 198 copy,
    // 229 make sure the caret is visible; any other number does nothing.
    void ExecuteCommand(int command);

    // Value 33: the text the last find selected. Writing it back to SelectedText leaves the
    // document as it was: after a find that found nothing, or once the selection has moved on,
    // it is whatever is selected now (possibly empty), never a stale text.
    QByteArray value33() const;

    // --- files ------------------------------------------------------------------------------
    // Loads path into the component: encoding (BOM for UTF-8/UTF-16, else valid UTF-8, else
    // Windows-1252) and line-end style are detected and kept for the save. A file that is not
    // text (NUL bytes outside UTF-16) fails and leaves the current text as it was. The loaded
    // text starts a fresh undo history and does not count as a change.
    bool LoadFile(const QString &path);
    // Starts reading a large file on another thread, for the LoadFile of the same path that
    // follows (the document named on the command line, read while the window is being built).
    static void prefetch(const QString &path);
    // Writes the text back in the encoding, BOM and line ends it was loaded with, atomically
    // (temporary file in the same folder, renamed over the target; permissions kept; through a
    // symbolic link the link's target is written). A failed save leaves the old file untouched.
    // flag false: durable at once (the editor window's saves). flag true: a batch save (the
    // multi-file runs): the file is written to its temporary file now, and made durable and
    // renamed into place by CommitSaves(), which syncs once for the whole batch; a LoadFile of a
    // path with a pending save commits first, so a file listed twice sees its first result.
    bool SaveFile(const QString &path, bool flag = false);
    // Commits the pending batch saves; false (and lastError) when one could not be committed.
    bool CommitSaves();
    // The paths (as given to SaveFile) the last CommitSaves could not put in place; their
    // targets are as they were before the batch.
    QStringList failedSaves() const;
    // Drops the pending batch saves, leaving their targets untouched.
    void DiscardSaves();
    // Why the last LoadFile/SaveFile/CommitSaves failed, in words for a message box.
    QString lastError() const;

    // Encoding the document is saved in: "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE",
    // "Windows-1252". A new document is UTF-8 without BOM.
    QString encodingName() const;
    // Chooses the encoding the next save writes (one of the names above); false for another
    // name. Lets the window offer UTF-8 when a character does not fit the file's encoding.
    bool setEncodingName(const QString &name);

    // --- navigation -------------------------------------------------------------------------
    // Moves the caret to the start of the 1-based line (clamped to the document); false when the
    // number is below 1.
    bool GoToLine(qint64 line, bool select = true);

    // --- display set-up ----------------------------------------------------------------------
    void setLanguage(const QString &language); // "PHP": HTML lexer with PHP, JS and CSS inside
    void SetItemColor(int item, quint32 colorBGR);
    void SetItemFontStyle(int item, int style);
    void setSetting(int number, const QVariant &value);
    QVariant setting(int number) const;
    // The font of every style, characters pixelHeight pixels high; colours and bold kept.
    void setEditorFont(const QString &family, int pixelHeight);

    // --- state ------------------------------------------------------------------------------
    bool isOvertype() const;
    qint64 length() const;
    // The QScintilla widget, for focus and geometry only (tests, the window's focus chain).
    QWidget *editorWidget() const;

Q_SIGNALS:
    // Event 12: the selection or the caret moved.
    void SelectionChanged();
    // Event 29: a key went down; shift is 1 Shift + 2 Ctrl + 4 Alt.
    void KeyDown(int keyCode, int shift);
    // Event 31: a keystroke changed the text.
    void KeyEvent(int a, int b);
    // Any change of the text by any command (not by LoadFile).
    void documentChanged();
    // The Insert key toggled overtype.
    void overtypeChanged(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class ::FindReplaceDialog;
    // One search as the find and replace dialog states it; what and with are UTF-8.
    struct FindRequest {
        QByteArray what;
        QByteArray with;
        bool matchCase = false;
        bool wholeWord = false;
        bool regex = false;
        bool backwards = false;
        bool wrap = true;
    };
    // Selects the next match; false (selection unchanged) when there is none.
    bool findNext(const FindRequest &request);
    // Replaces the selection when it is a match, then finds the next one.
    bool replaceNext(const FindRequest &request);
    // Replaces every match in the document as one undo step; the number replaced.
    qint64 replaceAll(const FindRequest &request);
    void showFindDialog(bool replace);
    struct Private;
    Private *d;
};

} // namespace kestrin
