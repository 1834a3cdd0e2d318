#include "DocumentFile.h"

#include "FileReader.h"

namespace kestrin {

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
