#pragma once
// Writes one document's recovery journal on a thread of its own. The editor's thread only queues
// the engine's edits (a few bytes and a lock no one holds for long): it never writes, syncs or
// waits for the disk. The thread writes what is queued at once (well within a second), syncs
// (fdatasync) at most every 5 seconds while edits go on and once when they pause for a second,
// copies a base that is a file from the file itself (no copy of the document on the editor's
// thread), and compacts the journal into a fresh base when its edits outgrow the base. No widget.
#include "JournalFiles.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace kestrin {

class JournalWriter : public QObject {
    Q_OBJECT
public:
    explicit JournalWriter(const QString &folder, QObject *parent = nullptr);
    // Removes the journal, unless keep() left it for the next start.
    ~JournalWriter() override;

    // What a new journal starts from: the bytes of baseFile (when header.disk still describes
    // it; header.base is FileBytes), else baseText (UTF-8).
    struct Start {
        JournalHeader header;
        QString baseFile;
        QByteArray baseText;
    };
    // A new journal (the one before, if any, is removed).
    void begin(Start start);
    // Goes on writing a recovered journal (claimed, read), its cut end dropped.
    void adopt(JournalFile file, const JournalContents &read);
    // A journal is being written (false before the first change, after discard or a failure).
    bool isActive() const { return m_active; }
    // The journal's file, empty when there is none.
    QString journalPath() const;

    void inserted(qint64 pos, const char *p, qint64 n);
    void removed(qint64 pos, qint64 n);
    void formatChanged(const QString &path, const TextFormat &format);

    // Removes the journal now (after a durable save, a discard, a new text).
    void discard();
    // Writes and syncs what is queued, then leaves the journal for the next start and stops
    // writing (the program ends on a signal). Waits for the disk.
    void keep();
    // Waits until everything queued is written and synced (tests, benchmarks).
    void flush();
    // How many times the journal was synced to the disk (tests, benchmarks).
    int syncs() const { return m_syncs.load(std::memory_order_relaxed); }

    // When edits are synced: after this pause, and at most this far apart while they go on.
    static constexpr std::chrono::milliseconds PauseBeforeSync{1000};
    static constexpr std::chrono::milliseconds LongestUnsynced{5000};

Q_SIGNALS:
    // The journal could not be written (full disk, unwritable folder); it is given up. From the
    // writing thread.
    void failed(const QString &why);
    // The base file changed before its bytes were taken: begin again with the text.
    void baseUnavailable();

private:
    struct Item {
        enum Kind { Begin, Adopt, Frames, Close, Keep, Flush };
        Item(Kind k, quint64 g = 0) : kind(k), generation(g) {}
        Kind kind;
        quint64 generation;
        Start start;
        JournalFile file;
        qint64 goodBytes = 0, baseEnd = 0, baseLength = 0; // of an adopted journal
        QByteArray frames;
    };
    void push(Item item);
    template <typename F> void queueFrames(F &&write);
    void run();
    void process(Item &item);
    bool create(Item &item);
    bool publish(JournalFile &file, const QString &name, quint64 generation);
    bool writeAll(int fd, const char *p, qsizetype n);
    bool copyBase(int fd, const QString &source, const DiskStamp &expected, bool *changed);
    void compact();
    void sync();
    void giveUp(const QString &why);
    void waitFor(Item::Kind kind);

    const QString m_folder;
    // The editor's thread.
    bool m_active = false;
    bool m_kept = false;
    quint64 m_counter = 0;

    // Shared, under the lock.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Item> m_items;
    quint64 m_generation = 0;
    QString m_name; // the journal's file name, as the editor's thread sees it
    quint64 m_finished = 0; // Keep and Flush items the thread has finished
    quint64 m_asked = 0;
    bool m_stop = false;

    // The writing thread.
    JournalFile m_file;
    quint64 m_writing = 0; // the generation m_file belongs to
    bool m_failed = false;
    bool m_dirty = false;
    bool m_folderSynced = false;
    qint64 m_size = 0, m_baseEnd = 0, m_baseLength = 0;
    std::chrono::steady_clock::time_point m_lastWrite, m_lastSync;
    std::atomic<int> m_syncs{0};
    std::thread m_thread;
};

} // namespace kestrin
