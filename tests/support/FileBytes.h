#pragma once
// A whole file as bytes, for tests that set up or check what is on disk.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrin::test {

// The file's bytes, or "<unreadable>" (which no test writes) when it cannot be read.
inline QByteArray readBytes(const QString &path) { QFile f(path); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"); }

// Writes the file (making its folder); false when that fails.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Everything in a folder, hidden files (a temporary one left behind) included, by name.
inline QStringList entries(const QString &folder)
{ return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name); }

} // namespace kestrin::test
