#include "FileReader.h"

#include <QFile>
#include <QFileInfo>

namespace kestrin {

bool readFile(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail();
    const qint64 size = file.size();
    if (size > 0) {
        *bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
        const qint64 got = file.read(bytes->data(), size);
        if (got < 0)
            return fail();
        bytes->truncate(qsizetype(got));
    } else {
        *bytes = file.readAll(); // files that report no size (pipes, /proc)
    }
    if (file.error() != QFileDevice::NoError) // a read that failed halfway
        return fail();
    return true;
}

} // namespace kestrin
