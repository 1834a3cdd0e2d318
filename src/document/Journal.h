#pragma once
// The recovery journal's file: what it holds and how it is read back. A journal starts with a
// magic word and a format version, then records, each its length, its bytes and a CRC-32 of them:
// a header (the document's path, format and file when the journal began), the base text (the
// file's bytes as they were loaded or saved, or UTF-8 text), then the edits in the order the
// engine made them (an insertion: position and bytes; a deletion: position and length) and
// changes of the format. Only the end is ever written to, so a crash can only cut the last
// record. Pure functions and a gap buffer; no widget, no thread.
#include "TextFile.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QIODevice;

namespace kestrin {

// A file's identity and state when a journal began, to tell later that it changed or is gone.
struct DiskStamp {
    qint64 size = -1; // -1: there was no such file
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    static DiskStamp of(const QString &path);
    bool exists() const { return size >= 0; }
    friend bool operator==(const DiskStamp &, const DiskStamp &) = default;
};

struct JournalHeader {
    enum class Base : quint8 { Utf8 = 0, FileBytes = 1 };
    QString path;            // the document's canonical path; empty for Untitled
    TextFormat format;
    DiskStamp disk;          // the file at path when the journal began
    qint64 createdMs = 0;    // since the epoch
    Base base = Base::Utf8;  // how the base record holds the text
    qint64 baseLength = 0;   // the base text's length in UTF-8 bytes
};

struct JournalContents {
    bool ok = false;
    QString reason;          // why the journal cannot be recovered, in words for a message box
    bool headerRead = false; // header (path, format as of the last record read) is valid
    bool torn = false;       // the last record was cut short; everything before it is here
    JournalHeader header;
    QByteArray text;         // the recovered text (UTF-8)
    qint64 baseEnd = 0;      // where the edits start in the file
    qint64 goodBytes = 0;    // how much of the file holds complete records
};

// Reads a journal from the start of device. With headerOnly, stops after the header record.
// Never trusts a length, a position or a checksum it has not checked.
JournalContents readJournal(QIODevice &device, bool headerOnly = false);

// A text edited by position, for replaying edits: the gap follows them, so typing in one place
// costs no more than the bytes typed.
class GapText : public TextSink {
public:
    bool begin(qsizetype bytes) override;
    bool append(const char *p, qsizetype n) override;
    qsizetype size() const { return qsizetype(m_buf.size()) - (m_gapEnd - m_gapStart); }
    bool insert(qsizetype pos, const char *p, qsizetype n);
    bool remove(qsizetype pos, qsizetype n);
    // The text in one piece; the buffer is left empty.
    QByteArray take();

private:
    void moveGap(qsizetype pos);
    bool room(qsizetype n);
    std::vector<char> m_buf;
    qsizetype m_gapStart = 0, m_gapEnd = 0;
};

// Writing the format: each function appends one framed record to `to`. The checksum slot is left
// for sealRecords, so a writer on another thread pays for it instead of the caller.
namespace journal {
constexpr char Magic[8] = {'K', '4', 'J', 'O', 'U', 'R', 'N', 'L'};
constexpr quint32 Version = 1;
constexpr qsizetype PreambleSize = 12; // the magic word and the version
enum Type : char { HeaderRecord = 'H', BaseRecord = 'B', InsertRecord = 'I', RemoveRecord = 'D', FormatRecord = 'F' };
// The magic word, the version and the header record, sealed.
QByteArray preamble(const JournalHeader &header);
void appendInsert(QByteArray &to, qint64 pos, const char *p, qint64 n);
void appendRemove(QByteArray &to, qint64 pos, qint64 n);
void appendFormat(QByteArray &to, const QString &path, const TextFormat &format);
// The start of a record of type whose payload (type byte excluded) is payloadBytes long.
QByteArray recordStart(Type type, qint64 payloadBytes);
// Fills the checksum of every record in frames (whole records only).
void sealRecords(char *frames, qsizetype size);
quint32 crc(quint32 crc, const char *p, qsizetype n);
} // namespace journal

} // namespace kestrin
