#pragma once
// A temporary program folder for the AJAX sample tests, with ways to put a sample in it that is
// present, absent, or present but unreadable.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace kestrin::test {

class SampleFolder {
public:
    QString path() const { return m_dir.path(); }
    QString samplePath() const;
    bool isValid() const { return m_dir.isValid(); }

    bool writeSample(const QByteArray &bytes);
    // A directory where the file is expected: not an ordinary file, so the sample counts as missing.
    bool makeSampleADirectory();
    // Makes the sample exist but fail to read. Tries chmod 000 first; root reads through that, so
    // it then links the name to /proc/self/mem, a regular file whose first page is never mapped:
    // opening works and reading fails with an I/O error. Returns how it did it, empty on failure.
    QString makeSampleUnreadable();

private:
    QTemporaryDir m_dir;
};

} // namespace kestrin::test
