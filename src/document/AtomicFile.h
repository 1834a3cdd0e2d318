#pragma once
// Replacing a file's content so that the file holds either the old bytes or the new ones, never a
// mix: the bytes go to a temporary file in the target's folder, which is renamed over the target.
// The target's permission bits (and owner, where the process may set it) are kept; through a
// symbolic link the link's final target is written, so the link stays a link. No widget.
#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kestrin {

class AtomicFile {
public:
    // Writes bytes to path and makes them durable (data synced, then the rename, then the folder).
    // On failure the target is untouched, no temporary file is left, and error says why.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);

    // The file a write to path really replaces: symbolic links followed to their last target
    // (which need not exist yet). Relative links resolve against their own folder.
    static QString resolveTarget(const QString &path);
};

// Many files written as one batch: each is written to its temporary file at once, without the
// costly sync; commit() syncs the whole batch in one go, renames every file into place in the
// order staged, and then syncs the folders. Discarding (or destroying the batch) removes the
// temporary files and leaves every target as it was.
class AtomicBatch {
public:
    AtomicBatch() = default;
    AtomicBatch(const AtomicBatch &) = delete;
    AtomicBatch &operator=(const AtomicBatch &) = delete;
    ~AtomicBatch();

    bool stage(const QString &path, const QByteArray &bytes, QString *error);
    // True when a staged write will replace path (compared after following links).
    bool isPending(const QString &path) const;
    int pendingCount() const { return int(m_items.size()); }
    // False when a file could not be put in place; error names the first such file. The other
    // files are still committed, and nothing stays pending.
    bool commit(QString *error);
    // The paths (as given to stage) the last commit could not put in place.
    QStringList failed() const { return m_failed; }
    void discard();

private:
    struct Item {
        QString path;
        QString target;
        QString temp;
    };
    QList<Item> m_items;
    // Targets of m_items: isPending is asked for every file a multi-file run loads.
    QSet<QString> m_targets;
    // The path isPending resolved last, for the stage of the same file that usually follows.
    mutable QString m_lastAsked;
    mutable QString m_lastAskedTarget;
    QStringList m_failed;
};

} // namespace kestrin
