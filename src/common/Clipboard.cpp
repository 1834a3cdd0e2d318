#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace kestrin {

void putOnClipboard(const QByteArray &utf8)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromUtf8(utf8));
}

QByteArray clipboardText() { return QGuiApplication::clipboard()->text().toUtf8(); }

} // namespace kestrin
