#pragma once
// Reading a document's file whole. No widget.
#include <QByteArray>
#include <QString>

namespace kestrin {

// The whole content of path into bytes; false (and error in words, when asked) when it cannot be read.
bool readFile(const QString &path, QByteArray *bytes, QString *error);

} // namespace kestrin
