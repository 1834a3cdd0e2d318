#pragma once
// Colour values (0x00BBGGRR) and colour text (RRGGBB). Pure functions.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace kestrin {

// Six upper-case hex digits RRGGBB for a value 0x00BBGGRR; values beyond 24 bits follow the
// digit-swapping rule on their (two's complement) hex text.
QString ColorToHex(qint64 value);
// Reads colour text such as "#FF8000" or "FF8000" back into 0x00BBGGRR; never fails.
quint32 HexToColor(const QString &text);
quint32 HexToColor(const QByteArray &utf8);

} // namespace kestrin
