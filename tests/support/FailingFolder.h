#pragma once
// Folders that refuse writes, even for root: a small tmpfs mounted over a folder (read-only, or too small
// for a write), or the folder made immutable; for other users its mode. Undone when destroyed.
#include <QString>

namespace kestrin::test {

class FailingFolder {
public:
    enum class Kind { ReadOnly, Full };
    // path: an existing folder. ReadOnly keeps the files already in it readable.
    FailingFolder(const QString &path, Kind kind);
    ~FailingFolder();
    Q_DISABLE_COPY(FailingFolder)

    bool ok() const { return m_ok; }
    QString why() const { return m_why; } // why it could not be set up, for QSKIP

private:
    QString m_path, m_why;
    bool m_ok = false, m_mounted = false, m_immutable = false, m_modeChanged = false;
};

} // namespace kestrin::test
