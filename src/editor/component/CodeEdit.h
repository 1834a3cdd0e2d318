#pragma once
// The code-editing component. It and the parts in its folder are the only code that talks to
// the editing engine; the rest of the program uses these members. It is the view of one Document
// (src/document: path, format, file, modified state), whose text the engine holds. Document text
// travels as UTF-8 bytes (QByteArray), never as a whole-document QString.
#include "EditorTypes.h"
#include "Search.h"
#include "document/Document.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>

namespace kestrin {

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
    // With followCaret the caret stays after the same character; else at the same place.
    static constexpr qsizetype BlockBytes = 1 << 20;
    bool rewriteText(const TextStore::Rewrite &rewrite, qsizetype resultBytes, qsizetype blockBytes = BlockBytes,
                     bool followCaret = false);

    // The selection as UTF-8, empty when nothing is selected.
    QByteArray SelectedText() const;
    // At most the first maxBytes bytes of the selection (a character cut at the end is left cut):
    // for readers of a selection's start, without copying a selection of the whole document.
    QByteArray selectedTextHead(qsizetype maxBytes) const;
    // Replaces the selection, or inserts at the caret, as one undo step; the caret ends after the
    // inserted text. Writing exactly the text already selected changes nothing at all.
    void setSelectedText(const QByteArray &utf8);


    // --- undo -------------------------------------------------------------------------------
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();

    void ExecuteCommand(EditorCommand command);

    // Value 33: the text the last find selected. Writing it back to SelectedText leaves the
    // document as it was: after a find that found nothing, or once the selection has moved on,
    // it is whatever is selected now (possibly empty), never a stale text.
    QByteArray value33() const;

    // --- search (the find and replace dialog) -------------------------------------------------
    // Selects the next match; false (selection unchanged) when there is none. Remembered for
    // EditorCommand::FindNext.
    bool findNext(const FindRequest &request);
    // Replaces the selection when it is a match, then finds the next one.
    bool replaceNext(const FindRequest &request);
    // Replaces every match in the document as one undo step; the number replaced.
    qint64 replaceAll(const FindRequest &request);

    // --- the document ---------------------------------------------------------------------------
    // The document this component is the view of: its path, format, file and modified state.
    // Loading and saving are its own (Document::load and save); these are their names here.
    Document *document() const;
    // Keeps a recovery journal of the unsaved changes in folder, fed by the engine's changes.
    void keepJournalIn(const QString &folder);
    // Shows a recovered journal's text (Document::recover).
    bool recover(JournalFile file, const JournalContents &contents);
    bool LoadFile(const QString &path) { return document()->load(path); }
    bool SaveFile(const QString &path) { return document()->save(path); }
    // Loads the document's file again with the caret kept on its line, for a file another
    // program changed while the document had no change of its own.
    bool reloadFile();

    // --- a problem in the saved file (PHP's syntax check) ---------------------------------------
    // Marks the 1-based line (the last one when beyond it): a marker in the margin, the line's text
    // underlined, the message below it and as the editor's accessible description; they move with
    // the line while the text is edited. One problem at a time; a loaded file has none.
    void markProblem(qint64 line, const QString &message);
    void clearProblem();
    // The line the problem's marker is on now (1-based), 0 for none.
    qint64 problemLine() const;

    // --- navigation -------------------------------------------------------------------------
    // Moves the caret to the start of the 1-based line (clamped to the document); false when the
    // number is below 1.
    bool GoToLine(qint64 line, bool select = true);

    // --- display set-up ----------------------------------------------------------------------
    void setLanguage(const QString &language); // "PHP": HTML lexer with PHP, JS and CSS inside
    void SetItemColor(StyleItem item, quint32 colorBGR);
    void SetItemFontStyle(StyleItem item, FontStyle style);
    void setSetting(EditorSetting setting, const QVariant &value);
    QVariant setting(EditorSetting setting) const;
    // The font of every style, characters pixelHeight pixels high; colours and bold kept.
    void setEditorFont(const QString &family, int pixelHeight);

    // --- state ------------------------------------------------------------------------------
    bool isOvertype() const;
    qint64 length() const;
    // The engine widget, for focus and geometry only (tests, the window's focus chain).
    QWidget *editorWidget() const;

Q_SIGNALS:
    // Event 12: the selection or the caret moved.
    void SelectionChanged();
    // Event 29: a key went down; shift is 1 Shift + 2 Ctrl + 4 Alt (see common/ShiftState.h).
    void KeyDown(int keyCode, int shift);
    // Event 31: a keystroke changed the text.
    void KeyEvent();
    // Any change of the text by any command (not by LoadFile).
    void documentChanged();
    // The Insert key toggled overtype.
    void overtypeChanged(bool on);

private:
    void showFindDialog(bool replace);
    void undoStep(unsigned int can, unsigned int step);
    struct Private;
    Private *d;
};

} // namespace kestrin
