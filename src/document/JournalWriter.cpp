#include "JournalWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace kestrin {

namespace {

using Clock = std::chrono::steady_clock;

QString lastError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// Frames queued past this wake the thread at once, so a whole-document command's text is written
// (and its memory given back) while the command goes on.
constexpr qsizetype kWakeBytes = 1 << 20;
// Edits may grow to this, or twice the base, before the journal is compacted into a new base.
constexpr qint64 kLeastCompaction = qint64(16) << 20;
constexpr qsizetype kCopyPiece = 1 << 20;
constexpr int kNice = 10;

} // namespace

JournalWriter::JournalWriter(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder), m_thread([this] { run(); })
{
}

JournalWriter::~JournalWriter()
{
    if (!m_kept)
        discard();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

QString JournalWriter::journalPath() const
{
    std::lock_guard lock(m_mutex);
    return m_name;
}

void JournalWriter::push(Item item)
{
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back(std::move(item));
    }
    m_wake.notify_one();
}

void JournalWriter::begin(Start start)
{
    discard();
    const QString name = QStringLiteral("%1-%2-%3%4")
                             .arg(QDateTime::currentMSecsSinceEpoch())
                             .arg(::getpid())
                             .arg(++m_counter)
                             .arg(QLatin1String(JournalSuffix));
    Item item{Item::Begin};
    item.start = std::move(start);
    {
        std::lock_guard lock(m_mutex);
        item.generation = ++m_generation;
        m_name = QDir(m_folder).filePath(name);
        m_items.push_back(std::move(item));
    }
    m_wake.notify_one();
    m_active = true;
}

void JournalWriter::adopt(JournalFile file, const JournalContents &read)
{
    discard();
    Item item{Item::Adopt};
    item.goodBytes = read.goodBytes;
    item.baseEnd = read.baseEnd;
    item.baseLength = read.header.baseLength;
    {
        std::lock_guard lock(m_mutex);
        item.generation = ++m_generation;
        m_name = file.path();
        item.file = std::move(file);
        m_items.push_back(std::move(item));
    }
    m_wake.notify_one();
    m_active = true;
}

template <typename F> void JournalWriter::queueFrames(F &&write)
{
    if (!m_active)
        return;
    bool wake;
    {
        std::lock_guard lock(m_mutex);
        if (m_items.empty() || m_items.back().kind != Item::Frames)
            m_items.push_back(Item(Item::Frames, m_generation));
        QByteArray &frames = m_items.back().frames;
        const qsizetype before = frames.size();
        write(frames);
        wake = before == 0 || before / kWakeBytes != frames.size() / kWakeBytes;
    }
    if (wake)
        m_wake.notify_one();
}

void JournalWriter::inserted(qint64 pos, const char *p, qint64 n)
{
    queueFrames([&](QByteArray &to) { journal::appendInsert(to, pos, p, n); });
}

void JournalWriter::removed(qint64 pos, qint64 n)
{
    queueFrames([&](QByteArray &to) { journal::appendRemove(to, pos, n); });
}

void JournalWriter::formatChanged(const QString &path, const TextFormat &format)
{
    queueFrames([&](QByteArray &to) { journal::appendFormat(to, path, format); });
}

void JournalWriter::discard()
{
    m_active = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_name.isEmpty())
            return;
        // Whatever the thread has not written yet goes; it publishes nothing of an old generation,
        // so the name stays removed.
        m_items.clear();
        ::unlink(QFile::encodeName(m_name).constData());
        m_name.clear();
        m_items.push_back(Item(Item::Close, ++m_generation));
    }
    m_wake.notify_one();
}

void JournalWriter::waitFor(Item::Kind kind)
{
    std::unique_lock lock(m_mutex);
    const quint64 ticket = ++m_asked;
    m_items.push_back(Item(kind, m_generation));
    m_wake.notify_one();
    m_done.wait(lock, [&] { return m_finished >= ticket; });
}

void JournalWriter::keep()
{
    waitFor(Item::Keep);
    m_kept = true;
    m_active = false;
}

void JournalWriter::flush() { waitFor(Item::Flush); }

// ---------------------------------------------------------------------------------------------
// The writing thread

void JournalWriter::run()
{
    // Below the editor's thread: on a busy machine a whole-document command's journal waits for
    // the command, not the other way round (a second at most behind, as promised).
    ::setpriority(PRIO_PROCESS, pid_t(::gettid()), kNice);
    for (;;) {
        std::deque<Item> work;
        bool stop;
        {
            std::unique_lock lock(m_mutex);
            const auto ready = [&] { return m_stop || !m_items.empty(); };
            if (m_dirty)
                m_wake.wait_until(lock, std::min(m_lastWrite + PauseBeforeSync, m_lastSync + LongestUnsynced), ready);
            else
                m_wake.wait(lock, ready);
            work.swap(m_items);
            stop = m_stop;
        }
        for (Item &item : work)
            process(item);
        const auto now = Clock::now();
        if (m_dirty && (now - m_lastSync >= LongestUnsynced || now - m_lastWrite >= PauseBeforeSync))
            sync();
        if (stop && work.empty())
            break;
    }
    if (m_dirty)
        sync();
}

void JournalWriter::process(Item &item)
{
    switch (item.kind) {
    case Item::Begin:
    case Item::Adopt:
        m_file.close();
        m_writing = item.generation;
        m_failed = false;
        m_dirty = false;
        m_lastSync = m_lastWrite = Clock::now();
        if (item.kind == Item::Begin) {
            m_failed = !create(item);
        } else {
            m_file = std::move(item.file);
            m_size = item.goodBytes;
            m_baseEnd = item.baseEnd;
            m_baseLength = item.baseLength;
            // The cut end of the last record goes, so the edits that follow are read.
            if (::ftruncate(m_file.fd(), m_size) != 0 || ::lseek(m_file.fd(), m_size, SEEK_SET) < 0)
                giveUp(lastError());
        }
        return;
    case Item::Frames:
        if (item.generation != m_writing || m_failed || !m_file.isOpen())
            return;
        journal::sealRecords(item.frames.data(), item.frames.size());
        if (!writeAll(m_file.fd(), item.frames.constData(), item.frames.size())) {
            giveUp(lastError());
            return;
        }
        m_size += item.frames.size();
        item.frames = QByteArray(); // back to the heap now, for the editor's next frames
        m_dirty = true;
        m_lastWrite = Clock::now();
        if (m_size - m_baseEnd > std::max(kLeastCompaction, 2 * m_baseLength))
            compact();
        return;
    case Item::Close:
        m_file.close();
        m_dirty = false;
        return;
    case Item::Keep:
    case Item::Flush:
        if (m_dirty)
            sync();
        if (item.kind == Item::Keep)
            m_file.close();
        {
            std::lock_guard lock(m_mutex);
            ++m_finished;
        }
        m_done.notify_all();
        return;
    }
}

bool JournalWriter::writeAll(int fd, const char *p, qsizetype n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, size_t(n));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= w;
    }
    return true;
}

// A new journal is made under a temporary name and appears under its own only once its header
// and base are complete, so a journal that is there always has its text.
bool JournalWriter::create(Item &item)
{
    QString why;
    QString name;
    {
        std::lock_guard lock(m_mutex);
        if (item.generation != m_generation)
            return false;
        name = m_name;
    }
    QString folderWhy;
    if (!prepareRecoveryFolder(m_folder, &folderWhy)) {
        giveUp(folderWhy);
        return false;
    }
    const QString temporary = QDir(m_folder).filePath(QLatin1Char('.') + QDir(m_folder).relativeFilePath(name) + QStringLiteral(".tmp"));
    JournalFile file = JournalFile::create(temporary, &why);
    if (!file.isOpen()) {
        giveUp(why);
        return false;
    }
    const Start &start = item.start;
    const QByteArray preamble = journal::preamble(start.header);
    bool ok = writeAll(file.fd(), preamble.constData(), preamble.size());
    bool changed = false;
    if (ok && start.header.base == JournalHeader::Base::FileBytes) {
        ok = copyBase(file.fd(), start.baseFile, start.header.disk, &changed);
    } else if (ok) {
        QByteArray frame = journal::recordStart(journal::BaseRecord, start.baseText.size());
        frame += start.baseText;
        frame.append(4, '\0');
        journal::sealRecords(frame.data(), frame.size());
        ok = writeAll(file.fd(), frame.constData(), frame.size());
    }
    if (!ok || changed) {
        file.remove();
        if (changed)
            Q_EMIT baseUnavailable();
        else
            giveUp(lastError());
        return false;
    }
    m_size = ::lseek(file.fd(), 0, SEEK_CUR);
    m_baseEnd = m_size;
    m_baseLength = start.header.baseLength;
    m_folderSynced = false;
    if (!publish(file, name, item.generation))
        return false;
    m_file = std::move(file);
    return true;
}

bool JournalWriter::copyBase(int fd, const QString &source, const DiskStamp &expected, bool *changed)
{
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    *changed = in < 0 || DiskStamp::of(source) != expected;
    if (*changed) {
        if (in >= 0)
            ::close(in);
        return true;
    }
    const QByteArray start = journal::recordStart(journal::BaseRecord, expected.size);
    bool ok = writeAll(fd, start.constData(), start.size());
    quint32 sum = journal::crc(0, start.constData() + 8, 1);
    std::vector<char> piece(kCopyPiece);
    qint64 copied = 0;
    while (ok) {
        const ssize_t n = ::read(in, piece.data(), piece.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        sum = journal::crc(sum, piece.data(), n);
        ok = writeAll(fd, piece.data(), n);
        copied += n;
    }
    ::close(in);
    // The file must not have changed while it was read, or the bytes are not the text's base.
    *changed = ok && (copied != expected.size || DiskStamp::of(source) != expected);
    sum = qToLittleEndian(sum);
    return ok && writeAll(fd, reinterpret_cast<const char *>(&sum), 4);
}

bool JournalWriter::publish(JournalFile &file, const QString &name, quint64 generation)
{
    std::lock_guard lock(m_mutex);
    // Discarded meanwhile: the name must stay free.
    if (generation != m_generation || ::rename(QFile::encodeName(file.path()).constData(), QFile::encodeName(name).constData()) != 0) {
        file.remove();
        return false;
    }
    file.setPath(name);
    return true;
}

// The text so far becomes the new base: read back from the journal itself, on this thread.
void JournalWriter::compact()
{
    const JournalContents read = m_file.read();
    if (!read.ok)
        return;
    JournalHeader header = read.header;
    header.base = JournalHeader::Base::Utf8;
    header.baseLength = read.text.size();
    Item item{Item::Begin, m_writing};
    item.start.header = header;
    item.start.baseText = read.text;
    JournalFile old = std::move(m_file);
    if (create(item) && ::fdatasync(m_file.fd()) == 0) {
        m_dirty = false;
        m_lastSync = Clock::now();
    } else if (!m_file.isOpen()) {
        m_file = std::move(old); // not replaced: the old journal goes on
    }
}

void JournalWriter::sync()
{
    if (m_file.isOpen() && ::fdatasync(m_file.fd()) != 0 && errno != EINVAL) {
        giveUp(lastError());
        return;
    }
    m_syncs.fetch_add(1, std::memory_order_relaxed);
    if (!m_folderSynced) {
        const int dir = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        m_folderSynced = true;
    }
    m_dirty = false;
    m_lastSync = Clock::now();
}

void JournalWriter::giveUp(const QString &why)
{
    // A journal that stops short would offer an older text as the work lost: it goes.
    m_file.remove();
    m_failed = true;
    m_dirty = false;
    Q_EMIT failed(why.isEmpty() ? tr("The journal cannot be written.") : why);
}

} // namespace kestrin
