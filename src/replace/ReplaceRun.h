#pragma once
// One multi-file run (replace a text, or add a line) over a list of files, on a thread of its own,
// so the window that starts it stays responsive and can stop it. Each file is loaded into a
// document without a view, changed and staged into the run's batch; the batch is committed when
// the run ends, however it ends, so every file is its old or its new content. No widget: the
// outcome says which entries stay listed and what to tell the user, and the window shows it.
#include "document/Document.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <thread>

namespace kestrin {

class ReplaceRun : public QObject {
    Q_OBJECT
public:
    // Turns a loaded text into the text to save; lineBreak is the file's own.
    using Step = std::function<QByteArray(const QByteArray &text, const QByteArray &lineBreak)>;
    // The two runs' steps; their texts are taken once, not per file.
    static Step replacing(const QString &find, const QString &replacement);
    static Step addingLine(const QString &line, bool atEnd);

    struct Outcome {
        // The entries still to be done, in list order: their files were not changed.
        QStringList left;
        // What to tell the user, titled kestrin4; empty when the run did every file.
        QString message;
        enum class Severity { Note, Warning, Critical } severity = Severity::Note;
    };

    ReplaceRun(QStringList paths, Step step, QObject *parent = nullptr);
    // Stops after the current file, commits what was done and waits for the thread.
    ~ReplaceRun() override;

    void start();
    // Asks the run to stop after the file it is at; from any thread.
    void stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }
    // Waits for the thread to end; then outcome() holds.
    void wait();

    int count() const { return int(m_paths.size()); }
    // Files finished so far; read by a timer of the window rather than signalled per file.
    int done() const { return m_done.load(std::memory_order_relaxed); }
    const Outcome &outcome() const { return m_outcome; }

Q_SIGNALS:
    // On the thread that owns the run, after its thread ended.
    void finished();
    // From the run's thread, through a queued connection; turned into finished on the owner's.
    void workDone(QPrivateSignal);

private:
    void work();
    Outcome failedAt(int index, const QString &what, const QString &reason);
    Outcome stoppedAt(int index);
    Outcome commitFailed(int done, const QString &reason);
    // Puts the files staged so far in place; false (the reason in m_commitError) when one could
    // not be.
    bool commit();

    const QStringList m_paths;
    const Step m_step;
    AtomicBatch m_batch;
    QString m_commitError;
    Outcome m_outcome;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_done{0};
    std::thread m_thread;
};

} // namespace kestrin
