#pragma once
// One document: its path, its file's format (encoding, byte-order mark, line ends), the
// fingerprint of what it last read or wrote there, and whether its text differs from what was
// saved. The text itself lives in a store: plain bytes for a document no one sees (the multi-file
// runs), or the editing engine of the view bound to it. Whether it is modified is the store's save
// point, never a flag kept beside it. Windows show this state; they do not keep it. No widget.
#include "AtomicFile.h"
#include "FileFingerprint.h"
#include "JournalWriter.h"
#include "TextFile.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace kestrin {

// Where a document's text lives. The document pours text in and asks about it; the store never
// calls the document back.
class TextStore {
public:
    // A fresh text: begin and append fill it; finish puts it in place as a fresh start (no undo
    // history, at the save point, new lines ending as format says). Dropped unfinished, it
    // changes nothing.
    struct Loader : TextSink {
        virtual void finish(const TextFormat &format) = 0;
    };
    using Rewrite = std::function<QByteArray(const QByteArray &block)>;
    // Set by the start-up's process policy, which alone changes process state: called when a
    // loader drops a half-read text before it takes room for the next reading.
    static inline void (*droppedText)() = nullptr;

    virtual ~TextStore() = default;
    virtual std::unique_ptr<Loader> loader() = 0;
    // The whole text in place, valid until the next change (copy it to keep it).
    virtual QByteArray view() const = 0;
    // Replaces the whole text (as one undo step where there is an undo history).
    virtual void replace(const QByteArray &utf8) = 0;
    // Rewrites the text block by block (cut between characters) as one undo step, for rewrites
    // that map each character on its own; resultBytes is the length of the result. A caret
    // stays after the same character.
    virtual void rewrite(const Rewrite &rewrite, qsizetype resultBytes) = 0;
    virtual qint64 length() const = 0;
    virtual bool isModified() const = 0;
    // The text as it is now counts as saved.
    virtual void setSavePoint() = 0;
    // No text counts as saved any more, not even one Undo reaches (a recovered text).
    virtual void forgetSavePoint() = 0;
};

class Document : public QObject {
    Q_OBJECT
public:
    // An untitled, empty document whose text is held as bytes.
    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // A view's engine becomes the store (the bytes held so far are dropped); the view calls
    // storeModifiedChanged when the engine's save point is reached or left. Null goes back to
    // bytes. The store must outlive the binding.
    void bind(TextStore *store);
    // Back at the save point, the journal has nothing left to keep.
    void storeModifiedChanged(bool modified);

    // The file the document is bound to; empty while it is untitled.
    QString path() const { return m_path; }
    bool isUntitled() const { return m_path.isEmpty(); }
    // Binds the document to path without reading it (a new file that Save will create).
    void setPath(const QString &path);

    bool isModified() const { return m_store->isModified(); }
    // The text as it is now counts as saved, with no file written.
    void setUnmodified();

    // The whole text without a copy: bytes shared with the store. With a view bound it is the
    // engine's buffer in place, valid until the next change (copy it to keep it).
    QByteArray text() const { return m_store->view(); }
    void setText(const QByteArray &utf8);

    // Reads and decodes path into the store: encoding (BOM for UTF-8/UTF-16, else valid UTF-8,
    // else Windows-1252) and line-end style are detected and kept for the save. A file that is
    // not text (NUL bytes outside UTF-16) fails; then nothing changes. On success the document is
    // bound to path and unmodified.
    bool load(const QString &path);
    // Encodes the text in the document's format and writes it to path atomically (temporary file
    // in the same folder, renamed over the target; permissions kept; through a symbolic link the
    // link's target is written). A failed save leaves the old file untouched. With a batch the
    // file is staged into it, to be put in place when its owner commits it; without one it is
    // durable on return, and the document is then bound to path and unmodified.
    bool save(const QString &path, AtomicBatch *batch = nullptr);

    // Why the last load or save failed, in words for a message box.
    QString lastError() const { return m_error; }

    // "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE" or "Windows-1252"; a new document is UTF-8.
    QString encodingName() const { return kestrin::encodingName(m_format.encoding); }
    // Chooses the encoding the next save writes; false for a name not listed above.
    bool setEncodingName(const QString &name);
    const TextFormat &format() const { return m_format; }
    LineEnd lineEndStyle() const { return m_format.lineEnd; }
    QByteArray lineBreak() const { return lineBreakOf(m_format.lineEnd); }

    // The editor's document remembers what its file was when it loaded it or last saved it
    // durably, to tell a change by another program before overwriting it. Off by default: the
    // multi-file runs do not ask.
    void trackDisk(bool on) { m_tracksDisk = on; }
    // True when the document's file is no longer what it loaded from it or last saved to it:
    // changed, replaced or deleted by someone else.
    bool changedOnDisk() const;

    // The characters its encoding cannot hold (none but in Windows-1252), for a save in style.
    Unencodable unencodable(EscapeStyle style) const;
    // Writes each of them in style, as one undo step, so the file keeps its encoding and a view
    // shows what is saved; false when there was none.
    bool escapeUnencodable(EscapeStyle style);
    // --- recovery journal ---------------------------------------------------------------------
    // Keeps a journal of the unsaved changes in folder, from the first change after each save
    // point until the document is saved, loaded anew or discarded (the editor's document does;
    // the multi-file runs do not). An empty folder keeps none.
    void keepJournalIn(const QString &folder);
    JournalWriter *journal() const { return m_journal.get(); }
    // The store's changes as it makes them: the journal begins at the first one after a save point.
    void textChanging();
    void textInserted(qint64 pos, const char *p, qint64 n);
    void textRemoved(qint64 pos, qint64 n);
    // The recovered text in place of the current one: bound to the journal's path (or Untitled),
    // in its format, modified; the journal (claimed) goes on being written.
    bool recover(JournalFile file, const JournalContents &contents);
    // The user dropped the changes: the journal goes.
    void discardJournal();
    // The program ends without asking: the journal stays for the next start.
    void keepJournal();

Q_SIGNALS:
    void pathChanged(const QString &path);
    // The journal cannot be written: changes are not protected until the next save. Once for a
    // document.
    void journalFailed(const QString &why);

private:
    bool read(const QString &path, TextSink &sink, TextFormat *format);
    // What a journal begun now starts from; the text itself when copyText (or no file holds it).
    JournalWriter::Start journalStart(bool copyText) const;
    void remember(const QString &path, const QByteArray &fileBytes);

    std::unique_ptr<TextStore> m_bytes; // the store while no view is bound
    TextStore *m_store;
    QString m_path;
    TextFormat m_format;
    QString m_error;
    bool m_tracksDisk = false;
    QString m_diskPath;
    FileFingerprint m_disk;
    DiskStamp m_diskStamp; // the same moment, as a journal records it
    std::unique_ptr<JournalWriter> m_journal;
    bool m_journalBroken = false; // until the next save
    bool m_journalTold = false;   // for this document
};

} // namespace kestrin
