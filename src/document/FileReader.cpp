#include "FileReader.h"

#include <QFile>
#include <QFileInfo>

namespace kestrin {

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    if (size > 0) {
        *bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
        const qint64 got = file.read(bytes->data(), size);
        if (got < 0) {
            *error = file.errorString();
            return false;
        }
        bytes->truncate(qsizetype(got));
    } else {
        *bytes = file.readAll(); // files that report no size (pipes, /proc)
    }
    if (file.error() != QFileDevice::NoError) { // a read that failed halfway is no text
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace kestrin
