#pragma once
// Where journals live and whose they are. One folder, $XDG_STATE_HOME/kestrin4/recovery (never
// beside a document), the user's alone: created 0700, and not used when it is someone else's or
// open to others. A journal is held under an exclusive lock (flock) by the editor that writes it
// for as long as it runs; one whose lock can be taken was left by an editor that is gone. No widget.
#include "Journal.h"

#include <QString>

#include <vector>

namespace kestrin {

// The recovery folder for the environment as it is ($XDG_STATE_HOME, else ~/.local/state).
QString recoveryFolderPath();
// Creates folder (and its parents) as needed; false, with why, when it cannot be made or exists
// but is not a folder of the user's that only the user can open.
bool prepareRecoveryFolder(const QString &folder, QString *why);

// A journal file and its lock; closing it gives the lock up.
class JournalFile {
public:
    JournalFile() = default;
    JournalFile(JournalFile &&other) noexcept;
    JournalFile &operator=(JournalFile &&other) noexcept;
    ~JournalFile();

    // A new file, 0600, locked; invalid (with why) when it cannot be made.
    static JournalFile create(const QString &path, QString *why);
    // The journal at path, locked, when no running editor holds it (and it is still there).
    static JournalFile claim(const QString &path);

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    // Removes the file and gives the lock up.
    void remove();
    void close();
    // Reads the whole journal.
    JournalContents read(bool headerOnly = false) const;

private:
    int m_fd = -1;
    QString m_path;
};

struct OrphanJournal {
    JournalFile file;        // claimed: no other editor offers it meanwhile
    JournalHeader header;    // as written when the journal began
    qint64 lastChangeMs = 0; // when its last record was written
};

// The orphaned journals in folder, newest first, each claimed; those of a running editor are left
// out. The temporary files of an editor that died while making a journal are removed.
std::vector<OrphanJournal> findOrphanJournals(const QString &folder);
// The name a journal's document is known by: its canonical path, or its absolute one when gone.
QString journalPathOf(const QString &documentPath);

// Journals end in this; their temporary files start with a dot and end otherwise.
constexpr const char *JournalSuffix = ".k4j";

} // namespace kestrin
