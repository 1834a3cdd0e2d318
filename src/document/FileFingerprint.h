#pragma once
// What a file on disk was at one moment, to tell later whether another program has changed,
// replaced or deleted it since. Taken when a document is loaded and after each of its own saves;
// compared before the next save and when the window comes back to the front. No widget, no
// polling: a fingerprint is only taken when asked.
//
// Where the file system keeps reliable times the fingerprint is its status: device, inode, size,
// modification and status-change times with their nanoseconds, and the link the path names when
// it is a symbolic link. Network and FUSE file systems (told by statfs) and file systems that keep
// whole seconds only (a status-change time without nanoseconds) cannot be trusted for times or
// inodes; there the size and a hash of the content decide.
#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

namespace kestrin {

class FileFingerprint {
public:
    // The file at path now. content, when given, is what the file holds (just read or just
    // written): it spares reading the file again where the content must be hashed.
    // contentHash, when given, is a Hash of what the file holds, taken as it was read.
    static FileFingerprint take(const QString &path, const QByteArray *content = nullptr,
                                const QByteArray *contentHash = nullptr);
    // True when a fingerprint of path needs a hash of its content.
    static bool hashes(const QString &path);
    // The hash a fingerprint keeps, of a content seen piece by piece.
    class Hash {
    public:
        Hash();
        void add(const char *p, qsizetype n);
        QByteArray result();
    private:
        QCryptographicHash m_hash;
    };

    // True when both describe the same file with the same content, as far as can be told.
    bool sameAs(const FileFingerprint &other) const;

    bool exists() const { return m_exists; }
    bool hashed() const { return m_hashed; }

    // Tests: hash the content on every file system, as on a network one.
    static void setAlwaysHash(bool on);

private:
    bool m_exists = false;
    bool m_hashed = false;
    QByteArray m_link;  // the path's link text when it is a symbolic link
    quint64 m_device = 0;
    quint64 m_inode = 0;
    qint64 m_size = -1;
    qint64 m_mtimeSec = 0, m_mtimeNsec = 0;
    qint64 m_ctimeSec = 0, m_ctimeNsec = 0;
    QByteArray m_hash;
};

} // namespace kestrin
