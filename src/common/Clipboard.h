#pragma once
// Plain text on the system clipboard, as UTF-8.
#include <QByteArray>

namespace kestrin {

// Empties the clipboard, then puts utf8 on it as plain text.
void putOnClipboard(const QByteArray &utf8);
// The clipboard's plain text; empty when it holds none.
QByteArray clipboardText();

} // namespace kestrin
