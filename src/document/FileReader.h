#pragma once
// Reading a document's file whole, and a read-ahead for the document named on the command line
// (read while the window is being built). No widget.
#include <QByteArray>
#include <QString>

namespace kestrin {

// Asks the system to start reading path into its cache, for the load that follows.
void prefetchFile(const QString &path);

// The whole content of path into bytes; false (and error in words) when it cannot be read.
bool readFile(const QString &path, QByteArray *bytes, QString *error);

} // namespace kestrin
