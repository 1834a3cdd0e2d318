#include "ReplaceEngine.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace kestrin {

namespace {

// Offsets of the non-overlapping matches. memchr/memmem are vectorised in the C library, which
// keeps a 50 MB scan well above 1 GB/s; a byte loop would not.
std::vector<qsizetype> matchOffsets(const QByteArray &text, const QByteArray &find)
{
    std::vector<qsizetype> offsets;
    const qsizetype n = find.size();
    if (n == 0 || text.size() < n)
        return offsets;
    const char *const begin = text.constData();
    const char *const end = begin + text.size();
    const char *p = begin;
    if (n == 1) {
        const char c = find.at(0);
        while (p < end) {
            const void *hit = std::memchr(p, c, size_t(end - p));
            if (!hit)
                break;
            const char *h = static_cast<const char *>(hit);
            offsets.push_back(h - begin);
            p = h + 1;
        }
        return offsets;
    }
    const std::string_view needle(find.constData(), size_t(n));
    while (end - p >= n) {
#if defined(__GLIBC__) || defined(__APPLE__) || defined(__FreeBSD__)
        const void *hit = memmem(p, size_t(end - p), needle.data(), needle.size());
        if (!hit)
            break;
        const char *h = static_cast<const char *>(hit);
#else
        const std::string_view hay(p, size_t(end - p));
        const size_t at = hay.find(needle);
        if (at == std::string_view::npos)
            break;
        const char *h = p + at;
#endif
        offsets.push_back(h - begin);
        p = h + n;
    }
    return offsets;
}

} // namespace

qsizetype countOccurrences(const QByteArray &text, const QByteArray &find)
{
    return qsizetype(matchOffsets(text, find).size());
}

QByteArray replaceAll(const QByteArray &text, const QByteArray &find, const QByteArray &replacement)
{
    const std::vector<qsizetype> offsets = matchOffsets(text, find);
    if (offsets.empty())
        return text;
    const qsizetype n = find.size();
    const qsizetype r = replacement.size();
    const qsizetype count = qsizetype(offsets.size());
    // Exact size up front: one allocation, then straight copies.
    QByteArray out(text.size() + count * (r - n), Qt::Uninitialized);
    const char *src = text.constData();
    char *dst = out.data();
    qsizetype from = 0;
    for (const qsizetype at : offsets) {
        const qsizetype keep = at - from;
        std::memcpy(dst, src + from, size_t(keep));
        dst += keep;
        if (r > 0) {
            std::memcpy(dst, replacement.constData(), size_t(r));
            dst += r;
        }
        from = at + n;
    }
    std::memcpy(dst, src + from, size_t(text.size() - from));
    return out;
}

QByteArray addLine(const QByteArray &text, const QByteArray &added, bool atEnd, const QByteArray &lineBreak)
{
    QByteArray out;
    out.reserve(text.size() + lineBreak.size() + added.size());
    if (atEnd)
        out.append(text).append(lineBreak).append(added);
    else
        out.append(added).append(lineBreak).append(text);
    return out;
}

} // namespace kestrin
