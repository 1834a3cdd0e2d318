#include "ColourText.h"

namespace kestrin {

QString ColorToHex(qint64 value)
{
    QString h = QString::number(quint32(value), 16).toUpper();
    if (h.size() < 6)
        h = QString(6 - h.size(), QLatin1Char('0')) + h;
    // Characters 5-6, then 3-4, then 1-2 (1-based): RRGGBB out of BBGGRR.
    return h.mid(4, 2) + h.mid(2, 2) + h.mid(0, 2);
}

namespace {

template <typename Char>
quint32 hexToColor(const Char *text, qsizetype size)
{
    qsizetype start = 0;
    if (size > 0 && text[0] == Char('#'))
        start = 1;
    const qsizetype len = size - start;
    auto piece = [&](qsizetype from, qsizetype count, Char *out, int &n) {
        for (qsizetype i = from; i < from + count && i < len; ++i)
            out[n++] = text[start + i];
    };
    Char digits[8];
    int n = 0;
    digits[n++] = Char('0');
    digits[n++] = Char('0');
    piece(4, 2, digits, n);
    piece(2, 2, digits, n);
    piece(0, 2, digits, n);
    quint32 value = 0;
    for (int i = 0; i < n; ++i) {
        const auto c = digits[i];
        int v;
        if (c >= Char('0') && c <= Char('9'))
            v = int(c - Char('0'));
        else if (c >= Char('A') && c <= Char('F'))
            v = int(c - Char('A')) + 10;
        else if (c >= Char('a') && c <= Char('f'))
            v = int(c - Char('a')) + 10;
        else
            break;
        value = value * 16 + quint32(v);
    }
    return value;
}

} // namespace

quint32 HexToColor(const QString &text)
{
    return hexToColor(text.utf16(), text.size());
}

quint32 HexToColor(const QByteArray &utf8)
{
    // Only the first seven characters matter; a multi-byte character stops the reading anyway,
    // but must not be cut in the middle for the position count.
    return HexToColor(QString::fromUtf8(utf8.left(32)));
}

} // namespace kestrin
