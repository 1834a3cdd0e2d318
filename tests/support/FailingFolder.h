#pragma once
// Folders that refuse writes, for the failure paths of file writers: a small tmpfs mounted over a
// folder (read-only, or so small that a write runs out of space), or the folder made immutable,
// which hold even for root; for other users a read-only folder is its mode. Each helper undoes
// what it did when destroyed.
#include <QString>

namespace kestrin::test {

class FailingFolder {
public:
    enum class Kind { ReadOnly, Full };
    // path: an existing folder. ReadOnly keeps the files already in it readable.
    FailingFolder(const QString &path, Kind kind);
    ~FailingFolder();
    FailingFolder(const FailingFolder &) = delete;
    FailingFolder &operator=(const FailingFolder &) = delete;

    bool ok() const { return m_ok; }
    QString why() const { return m_why; } // why it could not be set up, for QSKIP

private:
    QString m_path, m_why;
    bool m_ok = false, m_mounted = false, m_immutable = false, m_modeChanged = false;
};

} // namespace kestrin::test
