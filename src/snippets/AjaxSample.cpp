#include "AjaxSample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstring>

namespace kestrin {

QByteArray ajaxSampleText(const QByteArray &fileBytes)
{
    QByteArray out;
    if (fileBytes.isEmpty())
        return out;
    out.reserve(fileBytes.size() + fileBytes.count('\r') + 2);
    const char *p = fileBytes.constData();
    const char *const end = p + fileBytes.size();
    while (p < end) {
        const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        if (!cr) {
            out.append(p, end - p).append("\r\n"); // last line without a break
            break;
        }
        out.append(p, cr - p).append("\r\n");
        p = cr + 1;
        if (p < end && *p == '\n')
            ++p;
    }
    return out;
}

namespace {

QByteArray toUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)QString(utf8(bytes)); // decoding sets hasError() on a malformed sequence
    if (!utf8.hasError())
        return bytes;
    QStringDecoder system(QStringConverter::System);
    return QString(system(bytes)).toUtf8();
}

} // namespace

AjaxSample readAjaxSample(const QString &folder)
{
    AjaxSample result;
    const QFileInfo info(QDir(folder).filePath(QString::fromLatin1(AjaxSampleFileName)));
    if (!info.exists() || !info.isFile() || info.isHidden()) {
        result.status = AjaxSample::Status::Missing;
        result.text = SampleMissingText;
        return result;
    }

    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = AjaxSample::Status::Unreadable;
        return result;
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0) {
            result.status = AjaxSample::Status::Unreadable;
            return result;
        }
        if (n == 0)
            break;
        bytes.append(buffer, qsizetype(n));
    }
    result.status = AjaxSample::Status::Read;
    result.text = ajaxSampleText(toUtf8(bytes));
    return result;
}

} // namespace kestrin
