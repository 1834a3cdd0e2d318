#include "LineEnd.h"

namespace kestrin {

LineEnd platformLineEnd()
{
#ifdef Q_OS_WIN
    return LineEnd::CRLF;
#else
    return LineEnd::LF;
#endif
}

QByteArray lineBreakOf(LineEnd style)
{
    switch (style) {
    case LineEnd::CRLF: return QByteArrayLiteral("\r\n");
    case LineEnd::CR: return QByteArrayLiteral("\r");
    case LineEnd::LF: break;
    }
    return QByteArrayLiteral("\n");
}

QByteArray convertLineEnds(const QByteArray &text, LineEnd style)
{
    const char *p = text.constData();
    const char *end = p + text.size();
    const char *first = p;
    while (first < end && *first != '\r' && *first != '\n')
        ++first;
    if (first == end)
        return text;
    const char *eol = style == LineEnd::CRLF ? "\r\n" : style == LineEnd::CR ? "\r" : "\n";
    const qsizetype eolLen = style == LineEnd::CRLF ? 2 : 1;
    QByteArray out;
    out.reserve(text.size() + (eolLen == 2 ? text.size() / 8 : 0));
    out.append(p, first - p);
    for (p = first; p < end;) {
        if (*p == '\r' || *p == '\n') {
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
            out.append(eol, eolLen);
            continue;
        }
        const char *run = p;
        while (p < end && *p != '\r' && *p != '\n')
            ++p;
        out.append(run, p - run);
    }
    return out;
}

} // namespace kestrin
