#include "ReplaceRun.h"

#include "ReplaceEngine.h"
#include "ReplacePaths.h"

#include <QFileInfo>
#include <QSet>

namespace kestrin {

namespace {

QString orUnknown(const QString &reason) { return reason.isEmpty() ? ReplaceRun::tr("unknown error") : reason; }

// What became of the files around the one the run ended at.
QString splitNote(int done, int after)
{
    return ReplaceRun::tr("%n file(s) before it were changed and taken off the list. This file and the %1 after it "
                          "were not changed and stay in the list.", nullptr, done)
        .arg(after);
}

} // namespace

ReplaceRun::Step ReplaceRun::replacing(const QString &find, const QString &replacement)
{
    return [find = find.toUtf8(), replacement = replacement.toUtf8()](const QByteArray &text, const QByteArray &) {
        return replaceAll(text, find, replacement);
    };
}

ReplaceRun::Step ReplaceRun::addingLine(const QString &line, bool atEnd)
{
    return [line = line.toUtf8(), atEnd](const QByteArray &text, const QByteArray &lineBreak) {
        return addLine(text, line, atEnd, lineBreak);
    };
}

ReplaceRun::ReplaceRun(QStringList paths, Step step, QObject *parent)
    : QObject(parent), m_paths(std::move(paths)), m_step(std::move(step))
{
    connect(this, &ReplaceRun::workDone, this, [this] {
        wait();
        Q_EMIT finished();
    }, Qt::QueuedConnection);
}

ReplaceRun::~ReplaceRun()
{
    stop();
    wait();
}

void ReplaceRun::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] {
            work();
            Q_EMIT workDone(QPrivateSignal());
        });
}

void ReplaceRun::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void ReplaceRun::work()
{
    // The worker's own document: nothing it touches belongs to the GUI thread's event loop.
    Document doc;
    const int n = count();
    for (int i = 0; i < n; ++i) {
        if (stopRequested()) {
            m_outcome = stoppedAt(i);
            return;
        }
        const QString &path = m_paths[i];
        // A file listed twice sees its first result.
        if (m_batch.isPending(path) && !commit()) {
            m_outcome = commitFailed(i, m_commitError);
            return;
        }
        if (!doc.load(path)) {
            m_outcome = failedAt(i, tr("could not be read"), doc.lastError());
            return;
        }
        const QByteArray text = doc.text();
        const QByteArray changed = m_step(text, doc.lineBreak());
        if (changed.size() != text.size() || changed != text)
            doc.setText(changed);
        const QString refused = writeProblem(path);
        if (!refused.isEmpty()) {
            m_outcome = failedAt(i, tr("could not be saved"), refused);
            return;
        }
        if (!doc.save(path, &m_batch)) {
            m_outcome = failedAt(i, tr("could not be saved"), doc.lastError());
            return;
        }
        m_done.store(i + 1, std::memory_order_relaxed);
    }
    m_outcome = commit() ? Outcome{} : commitFailed(n, m_commitError);
}

bool ReplaceRun::commit()
{
    return m_batch.commit(&m_commitError);
}

ReplaceRun::Outcome ReplaceRun::failedAt(int index, const QString &what, const QString &reason)
{
    const QString &path = m_paths[index];
    // The files before the failing one were saved into the batch: put them on disk before the
    // list says they are done.
    if (!commit())
        return commitFailed(index, tr("%1\n\nThe run had stopped at \"%2\", which %3: %4")
                                       .arg(m_commitError, path, what, orUnknown(reason)));
    // The quotes are the translation's: each language writes its own.
    const QString failed = tr("\"%1\" %2: %3", "%1 a file's path, %2 what failed (could not be read), %3 why")
                               .arg(path, what, orUnknown(reason));
    return {m_paths.mid(index),
            failed + QStringLiteral("\n\n") + splitNote(index, count() - index - 1), Outcome::Severity::Warning};
}

ReplaceRun::Outcome ReplaceRun::stoppedAt(int index)
{
    const QString &path = m_paths[index];
    if (!commit())
        return commitFailed(index, tr("%1\n\nThe run had been stopped before \"%2\".").arg(m_commitError, path));
    return {m_paths.mid(index), tr("The run was stopped before \"%1\".\n\n").arg(path) + splitNote(index, count() - index - 1),
            Outcome::Severity::Note};
}

ReplaceRun::Outcome ReplaceRun::commitFailed(int done, const QString &reason)
{
    // The batch puts every other file in place even when one cannot be. The files that could not
    // be put in place were left as they were and stay listed; the others are done.
    const QStringList failedList = m_batch.failed();
    const QSet<QString> failed(failedList.cbegin(), failedList.cend());
    Outcome out;
    for (int i = 0; i < done; ++i) {
        const QString &path = m_paths[i];
        if (failed.contains(path) || failed.contains(QFileInfo(path).canonicalFilePath()))
            out.left << path;
    }
    out.left += m_paths.mid(done);
    out.message = tr("A changed file could not be put in place: %1\n\n"
                                 "The files that could not be written were not changed and stay in the list; the "
                                 "other changed files were written and taken off the list.")
                      .arg(orUnknown(reason));
    out.severity = Outcome::Severity::Critical;
    return out;
}

} // namespace kestrin
