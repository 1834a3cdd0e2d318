#pragma once
// Reading a document's file whole, with a read-ahead on another thread for the document named on
// the command line (read while the window is being built). No widget.
#include <QByteArray>
#include <QString>

namespace kestrin {

// Starts reading a large file on another thread, for the readFile of the same path that follows.
// Smaller files are read faster than a thread is started, and are left to readFile.
void prefetchFile(const QString &path);

// The whole content of path into bytes; false (and error in words) when it cannot be read. A
// file read ahead by prefetchFile is taken from there when it has not changed size since.
bool readFile(const QString &path, QByteArray *bytes, QString *error);

} // namespace kestrin
