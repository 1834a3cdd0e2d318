#include "Document.h"

#include "FileReader.h"
#include "JournalWriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace kestrin {

namespace {

// Pieces of the file read at a time.
constexpr qsizetype kReadPiece = 256 * 1024;

// A document's file for streamText, hashed as it is read when its fingerprint needs that. Pipes
// and /proc files are read whole first: they have no size to stream against, and a pipe cannot
// be opened twice.
class FileSource : public TextSource {
public:
    FileSource(const QString &path, bool hashed) : m_file(path)
    {
        if (hashed)
            m_hash.emplace();
    }
    bool open(QString *error)
    {
        const QFileInfo info(m_file.fileName());
        if (!info.isFile() || info.size() <= 0)
            return readFile(m_file.fileName(), &m_whole.emplace(), error);
        if (!m_file.open(QIODevice::ReadOnly))
            *error = m_file.errorString();
        return m_file.isOpen();
    }
    qsizetype read(char *to, qsizetype max) override
    {
        qint64 n = std::min<qint64>(max, m_whole ? m_whole->size() - m_at : 0);
        if (m_whole)
            std::memcpy(to, m_whole->constData() + std::exchange(m_at, m_at + qsizetype(n)), size_t(n));
        else
            n = m_file.read(to, max);
        if (n > 0 && m_hash)
            m_hash->add(to, qsizetype(n));
        return qsizetype(n);
    }
    bool rewind() override
    {
        if (m_hash)
            m_hash.emplace();
        m_at = 0;
        return m_whole || m_file.seek(0);
    }
    QString error() const override { return m_file.errorString(); }
    qsizetype size() const override { return m_whole ? m_whole->size() : qsizetype(m_file.size()); }
    std::optional<QByteArray> hash() { return m_hash ? std::optional(m_hash->result()) : std::nullopt; }

private:
    QFile m_file;
    std::optional<QByteArray> m_whole;
    qsizetype m_at = 0;
    std::optional<FileFingerprint::Hash> m_hash;
};

// The text of a document without a view. It counts as modified once it differs from what was
// loaded or saved: the runs compare before they set it, so a set text is a changed one.
class ByteStore : public TextStore {
public:
    std::unique_ptr<Loader> loader() override
    {
        struct Bytes : Loader {
            explicit Bytes(ByteStore *s) : store(s) {}
            bool begin(qsizetype bytes) override
            {
                text = QByteArray();
                text.reserve(bytes);
                return true;
            }
            bool append(const char *utf8, qsizetype n) override
            {
                text.append(utf8, n);
                return true;
            }
            void finish(const TextFormat &) override
            {
                store->m_text = std::move(text);
                store->m_modified = false;
            }
            ByteStore *store;
            QByteArray text;
        };
        return std::make_unique<Bytes>(this);
    }
    QByteArray view() const override { return m_text; }
    void replace(const QByteArray &utf8) override
    {
        m_text = utf8;
        m_modified = true;
    }
    void rewrite(const Rewrite &rewrite, qsizetype) override { replace(rewrite(m_text)); }
    qint64 length() const override { return m_text.size(); }
    bool isModified() const override { return m_modified; }
    void setSavePoint() override { m_modified = false; }
    void forgetSavePoint() override { m_modified = true; }

private:
    QByteArray m_text;
    bool m_modified = false;
};

} // namespace

Document::Document(QObject *parent) : QObject(parent), m_bytes(std::make_unique<ByteStore>()), m_store(m_bytes.get()) {}

Document::~Document() = default;

void Document::bind(TextStore *store)
{
    if (store) {
        m_store = store;
        m_bytes.reset();
    } else {
        m_bytes = std::make_unique<ByteStore>();
        m_store = m_bytes.get();
    }
}

void Document::storeModifiedChanged(bool modified)
{
    // Back at the save point, the journal has nothing left to keep.
    if (!modified && m_journal)
        m_journal->discard();
}

void Document::setUnmodified()
{
    m_store->setSavePoint();
    storeModifiedChanged(false);
}

void Document::setText(const QByteArray &utf8)
{
    m_store->replace(utf8);
    storeModifiedChanged(isModified());
}

void Document::setPath(const QString &path)
{
    if (std::exchange(m_path, path) == path)
        return;
    if (m_journal)
        m_journal->formatChanged(journalPathOf(path), m_format);
    Q_EMIT pathChanged(path);
}

bool Document::load(const QString &path)
{
    const std::unique_ptr<TextStore::Loader> loader = m_store->loader();
    TextFormat format;
    if (!read(path, *loader, &format))
        return false;
    loader->finish(format);
    m_format = format;
    setPath(path);
    m_journalBroken = m_journalTold = false;
    storeModifiedChanged(false);
    return true;
}

bool Document::read(const QString &path, TextSink &sink, TextFormat *format)
{
    FileSource source(path, m_tracksDisk && FileFingerprint::hashes(path));
    if (!source.open(&m_error) || !streamText(source, sink, kReadPiece, format, &m_error))
        return false;
    if (m_tracksDisk) {
        const std::optional<QByteArray> hash = source.hash();
        m_diskPath = path;
        m_disk = FileFingerprint::take(path, nullptr, hash ? &*hash : nullptr);
    }
    m_diskStamp = DiskStamp::of(path);
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
    m_diskStamp = DiskStamp::of(path);
    // Durable now: the journal goes (with the save point), and one that failed is tried again at
    // the next change.
    m_journalBroken = false;
    setUnmodified();
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

Unencodable Document::unencodable(EscapeStyle style) const
{
    // Asked before every save: nothing to look at for most encodings, and no copy for the rest.
    if (holdsEveryCharacter(m_format.encoding))
        return {};
    return findUnencodable(m_store->view(), m_format.encoding, style);
}

bool Document::escapeUnencodable(EscapeStyle style)
{
    const Unencodable found = unencodable(style);
    if (found.count == 0)
        return false;
    const TextFormat::Encoding encoding = m_format.encoding;
    m_store->rewrite([&](const QByteArray &block) { return kestrin::escapeUnencodable(block, encoding, style); },
                     m_store->view().size() + found.growth);
    storeModifiedChanged(isModified());
    return true;
}

bool Document::setEncodingName(const QString &name)
{
    using E = TextFormat::Encoding;
    for (E e : {E::Utf8, E::Utf8Bom, E::Utf16LE, E::Utf16BE, E::Windows1252}) {
        if (kestrin::encodingName(e) == name) {
            m_format.encoding = e;
            if (m_journal)
                m_journal->formatChanged(journalPathOf(m_path), m_format);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Recovery journal

void Document::keepJournalIn(const QString &folder)
{
    m_journal.reset();
    if (folder.isEmpty())
        return;
    m_journal = std::make_unique<JournalWriter>(folder);
    connect(m_journal.get(), &JournalWriter::failed, this, [this](const QString &why) {
        m_journalBroken = true;
        m_journal->discard();
        if (!std::exchange(m_journalTold, true))
            Q_EMIT journalFailed(why);
    });
    // The file changed between the first change and the copy of its bytes: the text itself.
    connect(m_journal.get(), &JournalWriter::baseUnavailable, this, [this] {
        if (m_journal->isActive())
            m_journal->begin(journalStart(true));
    });
}

JournalWriter::Start Document::journalStart(bool copyText) const
{
    JournalWriter::Start start;
    JournalHeader &h = start.header;
    h.path = journalPathOf(m_path);
    h.format = m_format;
    h.createdMs = QDateTime::currentMSecsSinceEpoch();
    h.disk = isUntitled() ? DiskStamp() : DiskStamp::of(m_path);
    h.baseLength = m_store->length();
    // The text is still the file's as it was loaded or saved: the writer copies the file, and the
    // editor's thread copies nothing.
    if (!copyText && h.baseLength > 0 && !isUntitled() && h.disk.exists() && h.disk == m_diskStamp
        && QFileInfo(m_path).isFile()) {
        h.base = JournalHeader::Base::FileBytes;
        start.baseFile = m_path;
    } else if (h.baseLength > 0) {
        start.baseText = QByteArray(m_store->view().constData(), qsizetype(h.baseLength));
    }
    return start;
}

void Document::textChanging()
{
    if (m_journal && !m_journal->isActive() && !m_journalBroken)
        m_journal->begin(journalStart(isModified()));
}

void Document::textInserted(qint64 pos, const char *p, qint64 n)
{
    if (m_journal)
        m_journal->inserted(pos, p, n);
}

void Document::textRemoved(qint64 pos, qint64 n)
{
    if (m_journal)
        m_journal->removed(pos, n);
}

bool Document::recover(JournalFile file, const JournalContents &contents)
{
    const QByteArray &text = contents.text;
    const std::unique_ptr<TextStore::Loader> loader = m_store->loader();
    if (!loader->begin(text.size()) || !loader->append(text.constData(), text.size()))
        return false;
    loader->finish(contents.header.format);
    m_format = contents.header.format;
    setPath(contents.header.path);
    m_journalBroken = m_journalTold = false;
    // Save asks before it overwrites a file that changed since the journal began.
    m_diskPath = m_path;
    m_disk = DiskStamp::of(m_path) == contents.header.disk ? FileFingerprint::take(m_path) : FileFingerprint();
    m_diskStamp = contents.header.disk;
    storeModifiedChanged(false);
    m_store->forgetSavePoint();
    storeModifiedChanged(true);
    if (m_journal)
        m_journal->adopt(std::move(file), contents);
    return true;
}

void Document::discardJournal()
{
    if (m_journal)
        m_journal->discard();
}

void Document::keepJournal()
{
    if (m_journal)
        m_journal->keep();
}

} // namespace kestrin
