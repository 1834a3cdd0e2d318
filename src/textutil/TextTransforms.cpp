#include "TextTransforms.h"

#include <cstring>

namespace kestrin {

QByteArray StripTags(const QByteArray &s)
{
    // One pass equal to the two-pass definition: outside a tag everything but ">" is kept;
    // a "<" starts dropping up to and including the next ">".
    const char *p = s.constData();
    const char *const end = p + s.size();
    const char *lt = static_cast<const char *>(std::memchr(p, '<', size_t(end - p)));
    if (!lt && !std::memchr(p, '>', size_t(end - p)))
        return s; // nothing to remove: share the bytes

    QByteArray out(s.size(), Qt::Uninitialized);
    char *o = out.data();
    // Next "<" and ">" at or after p; each is searched again only once p has passed it, so the
    // whole text is scanned about twice by memchr whatever the mix of tags.
    const char *gt = static_cast<const char *>(std::memchr(p, '>', size_t(end - p)));
    while (p < end) {
        if (lt && lt < p)
            lt = static_cast<const char *>(std::memchr(p, '<', size_t(end - p)));
        if (gt && gt < p)
            gt = static_cast<const char *>(std::memchr(p, '>', size_t(end - p)));
        const char *stop = end;
        if (lt && lt < stop)
            stop = lt;
        if (gt && gt < stop)
            stop = gt;
        const size_t run = size_t(stop - p);
        std::memcpy(o, p, run);
        o += run;
        if (stop == end)
            break;
        if (*stop == '>') {
            p = stop + 1; // a lone ">" is dropped
            continue;
        }
        // A "<": drop up to and including the next ">" (gt lies beyond it), or the rest.
        if (!gt)
            break;
        p = gt + 1;
    }
    out.truncate(o - out.constData());
    return out;
}

QByteArray AddressToLink(const QByteArray &s)
{
    static constexpr char mailto[] = "<a href='mailto:";
    static constexpr char plain[] = "<a href='";
    static constexpr char http[] = "<a href='http://";
    const char *prefix = http;
    if (s.contains('@')) {
        prefix = mailto;
    } else if (s.size() >= 4) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; };
        if (lower(s[0]) == 'h' && lower(s[1]) == 't' && lower(s[2]) == 't' && lower(s[3]) == 'p')
            prefix = plain;
    }
    QByteArray out;
    out.reserve(qsizetype(std::strlen(prefix)) + 2 * s.size() + 6);
    out.append(prefix).append(s).append("'>").append(s).append("</a>");
    return out;
}

QByteArray HtmlBlockComment(const QByteArray &s)
{
    QByteArray out;
    out.reserve(s.size() + 7);
    return out.append("<!--").append(s).append("-->");
}

QByteArray PhpBlockComment(const QByteArray &s)
{
    QByteArray out;
    out.reserve(s.size() + 4);
    return out.append("/*").append(s).append("*/");
}

} // namespace kestrin
