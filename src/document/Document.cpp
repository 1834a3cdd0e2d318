#include "Document.h"

#include "FileReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <utility>

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

// The text of a document without a view. It counts as modified once it differs from what was
// loaded or saved: the runs compare before they set it, so a set text is a changed one.
class ByteStore : public TextStore, public TextSink {
public:
    explicit ByteStore(Document *doc) : m_doc(doc) {}
    bool load(const std::function<bool(TextSink &)> &fill) override
    {
        if (!fill(*this)) {
            m_incoming = QByteArray();
            return false;
        }
        m_text = std::exchange(m_incoming, QByteArray());
        setSavePoint();
        return true;
    }
    QByteArray view() const override { return m_text; }
    void replace(const QByteArray &utf8) override
    {
        m_text = utf8;
        mark(true);
    }
    bool isModified() const override { return m_modified; }
    void setSavePoint() override { mark(false); }
    bool begin(qsizetype bytes) override
    {
        m_incoming = QByteArray();
        m_incoming.reserve(bytes);
        return true;
    }
    bool append(const char *utf8, qsizetype n) override
    {
        m_incoming.append(utf8, n);
        return true;
    }

private:
    void mark(bool modified)
    {
        if (std::exchange(m_modified, modified) != modified)
            m_doc->storeModifiedChanged(modified);
    }
    Document *m_doc;
    QByteArray m_text;
    QByteArray m_incoming;
    bool m_modified = false;
};

} // namespace

Document::Document(QObject *parent) : QObject(parent), m_bytes(std::make_unique<ByteStore>(this)), m_store(m_bytes.get()) {}

Document::~Document() = default;

void Document::bind(TextStore *store)
{
    if (store) {
        m_store = store;
        m_bytes.reset();
    } else {
        m_bytes = std::make_unique<ByteStore>(this);
        m_store = m_bytes.get();
    }
}

void Document::setPath(const QString &path)
{
    if (std::exchange(m_path, path) != path)
        Q_EMIT pathChanged(path);
}

bool Document::load(const QString &path)
{
    if (!m_store->load([&](TextSink &sink) { return fill(path, sink); }))
        return false;
    setPath(path);
    // A fresh text is at its save point even where the engine did not say so.
    Q_EMIT modifiedChanged(false);
    return true;
}

bool Document::fill(const QString &path, TextSink &sink)
{
    // Pipes and /proc files are read whole: they have no size to stream against, and a pipe
    // cannot be opened twice.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0) {
        QByteArray bytes;
        if (!readFile(path, &bytes, &m_error))
            return false;
        DecodeResult decoded = decodeText(bytes);
        if (!decoded.ok) {
            m_error = decoded.error;
            return false;
        }
        if (!sink.begin(decoded.utf8.size()) || !sink.append(decoded.utf8.constData(), decoded.utf8.size())) {
            m_error = QCoreApplication::translate("TextFile", "There is not enough memory to open the file.");
            return false;
        }
        if (m_tracksDisk)
            remember(path, bytes);
        m_format = decoded.format;
        m_error.clear();
        return true;
    }
    FileSource source(path, m_tracksDisk && FileFingerprint::hashes(path));
    if (!source.file().open(QIODevice::ReadOnly)) {
        m_error = source.error();
        return false;
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

bool Document::save(const QString &path, AtomicBatch *batch)
{
    // Encoded straight from the store: nothing edits the document while the save runs, and a
    // UTF-8 document is then written without a copy of the whole text.
    const EncodeResult encoded = encodeText(m_store->view(), m_format);
    if (!encoded.ok) {
        m_error = encoded.error;
        return false;
    }
    QString why;
    const bool ok = batch ? batch->stage(path, encoded.bytes, &why) : AtomicFile::write(path, encoded.bytes, &why);
    if (!ok) {
        m_error = why;
        return false;
    }
    m_error.clear();
    if (batch)
        return true;
    if (m_tracksDisk)
        remember(path, encoded.bytes);
    m_store->setSavePoint();
    setPath(path);
    return true;
}

void Document::remember(const QString &path, const QByteArray &fileBytes)
{
    m_diskPath = path;
    m_disk = FileFingerprint::take(path, &fileBytes);
}

bool Document::changedOnDisk() const
{
    return m_tracksDisk && !m_diskPath.isEmpty() && m_path == m_diskPath
        && !FileFingerprint::take(m_path).sameAs(m_disk);
}

bool Document::setEncodingName(const QString &name)
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
