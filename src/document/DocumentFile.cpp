#include "DocumentFile.h"

#include "FileReader.h"

#include <QCoreApplication>
#include <QFile>

namespace kestrin {

namespace {

// Pieces of the file read at a time.
constexpr qsizetype kReadPiece = 256 * 1024;

// A regular file read for streamText, hashed as it is read when its fingerprint needs that.
class FileSource : public TextSource {
public:
    FileSource(const QString &path, bool hashed) : m_file(path)
    {
        if (hashed)
            m_hash.emplace();
    }
    QFile &file() { return m_file; }
    qsizetype read(char *to, qsizetype max) override
    {
        const qint64 n = m_file.read(to, max);
        if (n > 0 && m_hash)
            m_hash->add(to, qsizetype(n));
        return qsizetype(n);
    }
    bool rewind() override
    {
        if (m_hash)
            m_hash.emplace();
        return m_file.seek(0);
    }
    QString error() const override { return m_file.errorString(); }
    qsizetype size() const override { return qsizetype(m_file.size()); }
    std::optional<QByteArray> hash() { return m_hash ? std::optional(m_hash->result()) : std::nullopt; }

private:
    QFile m_file;
    std::optional<FileFingerprint::Hash> m_hash;
};

} // namespace

std::optional<QByteArray> DocumentFile::load(const QString &path)
{
    if (m_batch.isPending(path) && !commitSaves())
        return std::nullopt;
    QByteArray bytes;
    if (!readFile(path, &bytes, &m_error))
        return std::nullopt;
    DecodeResult decoded = decodeText(bytes);
    if (!decoded.ok) {
        m_error = decoded.error;
        return std::nullopt;
    }
    if (m_tracksDisk)
        remember(path, bytes);
    bytes = QByteArray();
    m_format = decoded.format;
    m_error.clear();
    return std::move(decoded.utf8);
}

bool DocumentFile::loadInto(const QString &path, TextSink &sink)
{
    if (m_batch.isPending(path) && !commitSaves())
        return false;
    FileSource source(path, m_tracksDisk && FileFingerprint::hashes(path));
    if (!source.file().open(QIODevice::ReadOnly)) {
        m_error = source.error();
        return false;
    }
    if (source.file().isSequential() || source.size() <= 0) { // pipes, /proc: read whole
        source.file().close();
        std::optional<QByteArray> text = load(path);
        if (text && (!sink.begin(text->size()) || !sink.append(text->constData(), text->size()))) {
            m_error = QCoreApplication::translate("TextFile", "There is not enough memory to open the file.");
            return false;
        }
        return text.has_value();
    }
    TextFormat format;
    QString why;
    if (!streamText(source, sink, kReadPiece, &format, &why)) {
        m_error = why;
        return false;
    }
    if (m_tracksDisk) {
        const std::optional<QByteArray> hash = source.hash();
        m_diskPath = path;
        m_disk = FileFingerprint::take(path, nullptr, hash ? &*hash : nullptr);
    }
    m_format = format;
    m_error.clear();
    return true;
}

bool DocumentFile::save(const QString &path, const QByteArray &utf8, SaveMode mode)
{
    const EncodeResult encoded = encodeText(utf8, m_format);
    if (!encoded.ok) {
        m_error = encoded.error;
        return false;
    }
    QString why;
    const bool ok = mode == SaveMode::Batch ? m_batch.stage(path, encoded.bytes, &why)
                                            : AtomicFile::write(path, encoded.bytes, &why);
    if (!ok) {
        m_error = why;
        return false;
    }
    if (m_tracksDisk && mode == SaveMode::Durable)
        remember(path, encoded.bytes);
    m_error.clear();
    return true;
}

void DocumentFile::remember(const QString &path, const QByteArray &fileBytes)
{
    m_diskPath = path;
    m_disk = FileFingerprint::take(path, &fileBytes);
}

bool DocumentFile::changedOnDisk(const QString &path) const
{
    return m_tracksDisk && !m_diskPath.isEmpty() && path == m_diskPath
        && !FileFingerprint::take(path).sameAs(m_disk);
}

bool DocumentFile::commitSaves()
{
    QString why;
    if (m_batch.commit(&why))
        return true;
    m_error = why;
    return false;
}

bool DocumentFile::setEncodingName(const QString &name)
{
    using E = TextFormat::Encoding;
    for (E e : {E::Utf8, E::Utf8Bom, E::Utf16LE, E::Utf16BE, E::Windows1252}) {
        if (kestrin::encodingName(e) == name) {
            m_format.encoding = e;
            return true;
        }
    }
    return false;
}

} // namespace kestrin
