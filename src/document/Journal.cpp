#include "Journal.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace kestrin {

namespace {

// Records larger than this are not believed: no document the editor holds comes near it.
constexpr qint64 kLargestRecord = qint64(1) << 34;
constexpr qsizetype kReadPiece = 1 << 20;

template <typename T> void put(QByteArray &to, T value)
{
    const T le = qToLittleEndian(value);
    to.append(reinterpret_cast<const char *>(&le), sizeof le);
}

void putText(QByteArray &to, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    put<quint32>(to, quint32(utf8.size()));
    to.append(utf8);
}

void putFormat(QByteArray &to, const TextFormat &f)
{
    to.append(char(f.encoding));
    to.append(char(f.lineEnd));
    to.append(char(f.hadLineEnd));
}

// Reads the fields of one record's payload; any read past its end fails the whole record.
class Fields {
public:
    explicit Fields(const QByteArray &bytes) : m_bytes(bytes) {}
    template <typename T> T get()
    {
        T v{};
        if (!has(sizeof v))
            return v;
        std::memcpy(&v, m_bytes.constData() + m_at, sizeof v);
        m_at += qsizetype(sizeof v);
        return qFromLittleEndian(v);
    }
    QString text()
    {
        const quint32 n = get<quint32>();
        if (!has(n))
            return {};
        const QString s = QString::fromUtf8(m_bytes.constData() + m_at, qsizetype(n));
        m_at += qsizetype(n);
        return s;
    }
    bool format(TextFormat *f)
    {
        const auto enc = get<quint8>(), end = get<quint8>(), had = get<quint8>();
        if (enc > quint8(TextFormat::Encoding::Windows1252) || end > quint8(LineEnd::CR) || had > 1)
            return false;
        f->encoding = TextFormat::Encoding(enc);
        f->lineEnd = LineEnd(end);
        f->hadLineEnd = had != 0;
        return true;
    }
    qsizetype left() const { return m_bytes.size() - m_at; }
    const char *here() const { return m_bytes.constData() + m_at; }
    bool ok() const { return m_ok; }

private:
    bool has(qsizetype n)
    {
        if (n < 0 || left() < n)
            m_ok = false;
        return m_ok;
    }
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

// The base record's bytes, read from the device as the decoder asks for them, checksummed.
class BaseSource : public TextSource {
public:
    BaseSource(QIODevice &dev, qint64 start, qint64 length) : m_dev(dev), m_start(start), m_length(length) { rewind(); }
    qsizetype read(char *to, qsizetype max) override
    {
        const qint64 n = m_dev.read(to, std::min<qint64>(max, m_length - m_read));
        if (n > 0) {
            m_crc = journal::crc(m_crc, to, qsizetype(n));
            m_read += n;
        }
        return qsizetype(n);
    }
    bool rewind() override
    {
        m_read = 0;
        const char type = journal::BaseRecord;
        m_crc = journal::crc(0, &type, 1);
        return m_dev.seek(m_start);
    }
    QString error() const override { return m_dev.errorString(); }
    qsizetype size() const override { return qsizetype(m_length); }
    bool complete() const { return m_read == m_length; }
    quint32 crc() const { return m_crc; }

private:
    QIODevice &m_dev;
    qint64 m_start, m_length, m_read = 0;
    quint32 m_crc = 0;
};

bool allZero(QIODevice &dev)
{
    char piece[4096];
    for (qint64 n; (n = dev.read(piece, sizeof piece)) > 0;)
        if (std::any_of(piece, piece + n, [](char c) { return c != 0; }))
            return false;
    return true;
}

JournalContents fail(JournalContents r, const QString &why)
{
    r.ok = false;
    r.reason = why;
    r.text.clear();
    return r;
}

} // namespace

DiskStamp DiskStamp::of(const QString &path)
{
    DiskStamp s;
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.size = qint64(st.st_size);
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = quint64(st.st_ino);
    s.device = quint64(st.st_dev);
    return s;
}

// ---------------------------------------------------------------------------------------------

bool GapText::begin(qsizetype bytes)
{
    m_buf.clear();
    m_gapStart = m_gapEnd = 0;
    return room(bytes);
}

bool GapText::append(const char *p, qsizetype n) { return insert(size(), p, n); }

bool GapText::room(qsizetype n)
{
    if (m_gapEnd - m_gapStart >= n)
        return true;
    const qsizetype used = size();
    if (n < 0 || n > (std::numeric_limits<qsizetype>::max() - used) / 2)
        return false; // a length no text can have: a damaged journal, not an allocation to try
    const qsizetype want = std::max<qsizetype>(used + n + (used + n) / 4, 4096);
    try {
        std::vector<char> grown(size_t(want), '\0');
        const qsizetype tail = qsizetype(m_buf.size()) - m_gapEnd;
        if (!m_buf.empty()) { // an empty vector's data() may be null, which memcpy may not be given
            std::memcpy(grown.data(), m_buf.data(), size_t(m_gapStart));
            std::memcpy(grown.data() + want - tail, m_buf.data() + m_gapEnd, size_t(tail));
        }
        m_buf.swap(grown);
        m_gapEnd = want - tail;
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

void GapText::moveGap(qsizetype pos)
{
    if (pos < m_gapStart)
        std::memmove(m_buf.data() + m_gapEnd - (m_gapStart - pos), m_buf.data() + pos, size_t(m_gapStart - pos));
    else if (pos > m_gapStart)
        std::memmove(m_buf.data() + m_gapStart, m_buf.data() + m_gapEnd, size_t(pos - m_gapStart));
    m_gapEnd += pos - m_gapStart;
    m_gapStart = pos;
}

bool GapText::insert(qsizetype pos, const char *p, qsizetype n)
{
    if (pos < 0 || pos > size() || n < 0 || !room(n))
        return false;
    moveGap(pos);
    if (n > 0)
        std::memcpy(m_buf.data() + m_gapStart, p, size_t(n));
    m_gapStart += n;
    return true;
}

bool GapText::remove(qsizetype pos, qsizetype n)
{
    if (pos < 0 || n < 0 || n > size() - pos)
        return false;
    moveGap(pos);
    m_gapEnd += n;
    return true;
}

QByteArray GapText::take()
{
    moveGap(size());
    QByteArray text(m_buf.data(), size());
    m_buf = {};
    m_gapStart = m_gapEnd = 0;
    return text;
}

// ---------------------------------------------------------------------------------------------

namespace journal {

quint32 crc(quint32 crc, const char *p, qsizetype n)
{
    while (n > 0) {
        const uInt piece = uInt(std::min<qsizetype>(n, 1 << 30));
        crc = quint32(::crc32(crc, reinterpret_cast<const Bytef *>(p), piece));
        p += piece;
        n -= piece;
    }
    return crc;
}

QByteArray recordStart(Type type, qint64 payloadBytes)
{
    QByteArray r;
    put<quint64>(r, quint64(payloadBytes + 1));
    r.append(char(type));
    return r;
}

void sealRecords(char *frames, qsizetype size)
{
    for (qsizetype at = 0; at + 8 <= size;) {
        quint64 n;
        std::memcpy(&n, frames + at, 8);
        n = qFromLittleEndian(n);
        const quint32 sum = qToLittleEndian(crc(0, frames + at + 8, qsizetype(n)));
        std::memcpy(frames + at + 8 + qsizetype(n), &sum, 4);
        at += 8 + qsizetype(n) + 4;
    }
}

namespace {
void seal(QByteArray &to, qsizetype recordAt) { sealRecords(to.data() + recordAt, to.size() - recordAt); }
void close(QByteArray &to) { to.append(4, '\0'); }
} // namespace

QByteArray preamble(const JournalHeader &h)
{
    QByteArray payload;
    put<qint64>(payload, h.createdMs);
    putFormat(payload, h.format);
    payload.append(char(h.base));
    put<qint64>(payload, h.baseLength);
    put<qint64>(payload, h.disk.size);
    put<qint64>(payload, h.disk.mtimeNs);
    put<quint64>(payload, h.disk.inode);
    put<quint64>(payload, h.disk.device);
    putText(payload, h.path);
    QByteArray out(Magic, sizeof Magic);
    put<quint32>(out, Version);
    out += recordStart(HeaderRecord, payload.size());
    out += payload;
    close(out);
    seal(out, PreambleSize);
    return out;
}

void appendInsert(QByteArray &to, qint64 pos, const char *p, qint64 n)
{
    put<quint64>(to, quint64(1 + 8 + n));
    to.append(char(InsertRecord));
    put<qint64>(to, pos);
    to.append(p, qsizetype(n));
    close(to);
}

void appendRemove(QByteArray &to, qint64 pos, qint64 n)
{
    put<quint64>(to, 1 + 16);
    to.append(char(RemoveRecord));
    put<qint64>(to, pos);
    put<qint64>(to, n);
    close(to);
}

void appendFormat(QByteArray &to, const QString &path, const TextFormat &format)
{
    QByteArray payload;
    putFormat(payload, format);
    putText(payload, path);
    to += recordStart(FormatRecord, payload.size());
    to += payload;
    close(to);
}

} // namespace journal

// ---------------------------------------------------------------------------------------------

JournalContents readJournal(QIODevice &dev, bool headerOnly)
{
    JournalContents r;
    const qint64 fileSize = dev.size();
    if (fileSize == 0)
        return fail(r, QCoreApplication::translate("kestrin::Journal", "The journal is empty: nothing was recorded in it."));
    char pre[journal::PreambleSize];
    if (!dev.seek(0) || dev.read(pre, sizeof pre) != qint64(sizeof pre) || std::memcmp(pre, journal::Magic, 8) != 0)
        return fail(r, QCoreApplication::translate("kestrin::Journal", "The file is not a recovery journal of this program."));
    quint32 version;
    std::memcpy(&version, pre + 8, 4);
    if (qFromLittleEndian(version) != journal::Version)
        return fail(r, QCoreApplication::translate("kestrin::Journal", "The journal was written by another version of the program (format %1).")
                           .arg(qFromLittleEndian(version)));

    GapText text;
    bool haveBase = false;
    qint64 at = journal::PreambleSize;
    const QString damaged = QCoreApplication::translate("kestrin::Journal", "The journal is damaged: a checksum does not match.");
    const QString outside = QCoreApplication::translate("kestrin::Journal", "The journal is damaged: a change lies outside the text.");
    while (at < fileSize) {
        r.goodBytes = at;
        quint64 len = 0;
        const qint64 left = fileSize - at;
        if (left < 8 || dev.read(reinterpret_cast<char *>(&len), 8) != 8) {
            r.torn = true;
            break;
        }
        len = qFromLittleEndian(len);
        if (len == 0 || len > quint64(kLargestRecord) || qint64(len) + 12 > left) {
            // A cut end, or the zeros a power cut leaves after the last complete record.
            if (qint64(len) + 12 > left || allZero(dev)) {
                r.torn = true;
                break;
            }
            return fail(r, damaged);
        }
        const bool last = qint64(len) + 12 == left;
        char type = 0;
        if (dev.read(&type, 1) != 1)
            return fail(r, damaged);
        // The header, then the base, then edits only.
        const bool inOrder = !r.headerRead ? type == journal::HeaderRecord
            : !haveBase                    ? type == journal::BaseRecord
                                           : type != journal::HeaderRecord && type != journal::BaseRecord;
        if (!inOrder)
            return fail(r, r.headerRead ? damaged : QCoreApplication::translate("kestrin::Journal", "The file is not a recovery journal of this program."));
        if (type == journal::BaseRecord) {
            // Read through the decoder, never whole: a base can be as large as the document.
            BaseSource source(dev, at + 9, qint64(len) - 1);
            bool decoded = true;
            if (r.header.base == JournalHeader::Base::FileBytes) {
                TextFormat f;
                QString why;
                decoded = streamText(source, text, kReadPiece, &f, &why);
            } else {
                text.begin(qsizetype(len - 1));
                std::vector<char> piece(kReadPiece);
                for (qsizetype n; (n = source.read(piece.data(), kReadPiece)) > 0;)
                    decoded = decoded && text.append(piece.data(), n);
            }
            quint32 sum = 0;
            if (!source.complete() || !dev.seek(at + 8 + qint64(len)) || dev.read(reinterpret_cast<char *>(&sum), 4) != 4
                || qFromLittleEndian(sum) != source.crc()) {
                if (last) {
                    r.torn = true;
                    break;
                }
                return fail(r, damaged);
            }
            if (!decoded || text.size() != r.header.baseLength)
                return fail(r, QCoreApplication::translate("kestrin::Journal", "The journal is damaged: its first text is not the one it recorded."));
            haveBase = true;
            r.baseEnd = at + 12 + qint64(len);
            at = r.baseEnd;
            continue;
        }
        QByteArray payload(qsizetype(len), Qt::Uninitialized);
        payload[0] = type;
        quint32 sum = 0;
        if (dev.read(payload.data() + 1, payload.size() - 1) != payload.size() - 1
            || dev.read(reinterpret_cast<char *>(&sum), 4) != 4
            || qFromLittleEndian(sum) != journal::crc(0, payload.constData(), payload.size())) {
            if (last) {
                r.torn = true;
                break;
            }
            return fail(r, damaged);
        }
        Fields f(payload);
        f.get<quint8>(); // the type
        bool applied = true;
        switch (type) {
        case journal::HeaderRecord: {
            if (r.headerRead)
                return fail(r, damaged);
            JournalHeader &h = r.header;
            h.createdMs = f.get<qint64>();
            applied = f.format(&h.format);
            const auto base = f.get<quint8>();
            h.base = JournalHeader::Base(base);
            h.baseLength = f.get<qint64>();
            h.disk.size = f.get<qint64>();
            h.disk.mtimeNs = f.get<qint64>();
            h.disk.inode = f.get<quint64>();
            h.disk.device = f.get<quint64>();
            h.path = f.text();
            if (!applied || !f.ok() || base > 1 || h.baseLength < 0 || f.left() != 0)
                return fail(r, QCoreApplication::translate("kestrin::Journal", "The file is not a recovery journal of this program."));
            r.headerRead = true;
            if (headerOnly) {
                r.ok = true;
                r.goodBytes = at + 12 + qint64(len);
                return r;
            }
            break;
        }
        case journal::InsertRecord: {
            const qint64 pos = f.get<qint64>();
            applied = f.ok() && pos <= text.size() && text.insert(qsizetype(pos), f.here(), f.left());
            break;
        }
        case journal::RemoveRecord: {
            const qint64 pos = f.get<qint64>(), n = f.get<qint64>();
            applied = f.ok() && f.left() == 0 && text.remove(qsizetype(pos), qsizetype(n));
            break;
        }
        case journal::FormatRecord: {
            TextFormat format;
            const bool known = f.format(&format);
            const QString path = f.text();
            if (!known || !f.ok() || f.left() != 0)
                return fail(r, damaged);
            r.header.format = format;
            r.header.path = path;
            break;
        }
        default:
            return fail(r, QCoreApplication::translate("kestrin::Journal", "The journal holds a record this version does not know."));
        }
        if (!applied)
            return fail(r, outside);
        at += 12 + qint64(len);
    }
    if (at >= fileSize)
        r.goodBytes = fileSize;
    if (!r.headerRead || !haveBase)
        return fail(r, QCoreApplication::translate("kestrin::Journal", "The journal is empty: nothing was recorded in it."));
    r.text = text.take();
    r.ok = true;
    return r;
}

} // namespace kestrin
