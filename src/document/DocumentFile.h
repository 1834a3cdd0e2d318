#pragma once
// The file side of a document: loading a file's text, saving it back in the encoding, BOM and
// line ends it was loaded with, atomically, and the batch of saves of a multi-file run. Shared by
// the editor component (whose text lives in its view) and TextDocument (whose text is bytes), so
// both load and save the same way. No widget.
#include "AtomicFile.h"
#include "FileFingerprint.h"
#include "TextFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrin {

enum class SaveMode {
    // Durable when SaveFile returns (the editor window's saves).
    Durable,
    // Written to a temporary file now; made durable and renamed into place by CommitSaves, which
    // syncs once for the whole batch (the multi-file runs).
    Batch,
};

class DocumentFile {
public:
    // Reads and decodes path: encoding (BOM for UTF-8/UTF-16, else valid UTF-8, else
    // Windows-1252) and line-end style are detected and kept for the save. A file that is not
    // text (NUL bytes outside UTF-16) fails; then nothing changes. A path with a pending batch
    // save is committed first, so a file listed twice sees its first result.
    std::optional<QByteArray> load(const QString &path);
    // load, with the text handed to sink as the file is read, so a large file is never held
    // whole; false when it fails (sink may then hold part of a text, to be dropped).
    bool loadInto(const QString &path, TextSink &sink);
    // Encodes utf8 in the document's format and writes it to path atomically (temporary file in
    // the same folder, renamed over the target; permissions kept; through a symbolic link the
    // link's target is written). A failed save leaves the old file untouched.
    bool save(const QString &path, const QByteArray &utf8, SaveMode mode);

    // Commits the pending batch saves; false (and lastError) when one could not be committed.
    bool commitSaves();
    // The paths (as given to save) the last commitSaves could not put in place; their targets
    // are as they were before the batch.
    QStringList failedSaves() const { return m_batch.failed(); }
    // Drops the pending batch saves, leaving their targets untouched.
    void discardSaves() { m_batch.discard(); }

    // Why the last load, save or commit failed, in words for a message box.
    QString lastError() const { return m_error; }

    // "UTF-8", "UTF-8 BOM", "UTF-16LE", "UTF-16BE" or "Windows-1252"; a new document is UTF-8.
    QString encodingName() const { return kestrin::encodingName(m_format.encoding); }
    // Chooses the encoding the next save writes; false for a name not listed above.
    bool setEncodingName(const QString &name);

    // The editor's document remembers what its file was when it loaded it or last saved it
    // durably, to tell a change by another program before overwriting it. Off by default: the
    // multi-file runs do not ask.
    void trackDisk(bool on) { m_tracksDisk = on; }
    // True when the file at path is no longer what this document loaded from it or last saved to
    // it: changed, replaced or deleted by someone else. False for a path it has not held.
    bool changedOnDisk(const QString &path) const;

    LineEnd lineEndStyle() const { return m_format.lineEnd; }
    QByteArray lineBreak() const { return lineBreakOf(m_format.lineEnd); }
    const TextFormat &format() const { return m_format; }

private:
    void remember(const QString &path, const QByteArray &fileBytes);

    TextFormat m_format;
    QString m_error;
    bool m_tracksDisk = false;
    QString m_diskPath;
    FileFingerprint m_disk;
    AtomicBatch m_batch;
};

} // namespace kestrin
