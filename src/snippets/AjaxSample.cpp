#include "AjaxSample.h"

#include "document/FileReader.h"
#include "document/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace kestrin {

QByteArray ajaxSampleText(const QByteArray &text)
{
    // A line ends at CR or CR LF; a lone LF stays in its line, so a last line ending in one gets a break too.
    return text.isEmpty() || text.endsWith('\r') || text.endsWith("\r\n") ? text : text + "\r\n";
}

AjaxSample readAjaxSample(const QString &folder)
{
    AjaxSample result;
    const QFileInfo info(QDir(folder).filePath(QString::fromLatin1(AjaxSampleFileName)));
    if (!info.exists() || !info.isFile() || info.isHidden()) {
        result.status = AjaxSample::Status::Missing;
        result.text = SampleMissingText;
        return result;
    }
    QByteArray bytes;
    const DecodeResult decoded = readFile(info.filePath(), &bytes, nullptr) ? decodeText(bytes) : DecodeResult();
    result.status = decoded.ok ? AjaxSample::Status::Read : AjaxSample::Status::Unreadable;
    result.text = ajaxSampleText(decoded.utf8);
    return result;
}

} // namespace kestrin
