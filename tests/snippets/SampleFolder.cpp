#include "SampleFolder.h"

#include "snippets/AjaxSample.h"

#include <QDir>
#include <QFile>

namespace kestrin::test {

QString SampleFolder::samplePath() const
{
    return QDir(m_dir.path()).filePath(QString::fromLatin1(AjaxSampleFileName));
}

bool SampleFolder::writeSample(const QByteArray &bytes)
{
    QFile f(samplePath());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool SampleFolder::makeSampleADirectory()
{
    QFile::remove(samplePath());
    return QDir().mkpath(samplePath());
}

namespace {

bool readable(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    char c;
    return f.read(&c, 1) >= 0;
}

} // namespace

QString SampleFolder::makeSampleUnreadable()
{
    if (!writeSample("secret\r\n"))
        return {};
    QFile::setPermissions(samplePath(), QFileDevice::Permissions());
    if (!readable(samplePath()))
        return QStringLiteral("chmod 000");
    QFile::remove(samplePath());
    if (QFile::link(QStringLiteral("/proc/self/mem"), samplePath()) && !readable(samplePath()))
        return QStringLiteral("link to /proc/self/mem");
    return {};
}

} // namespace kestrin::test
