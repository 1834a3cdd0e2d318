#include "TagMatch.h"

#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kestrin {

namespace {

// The HTML lexer's styles that matter here.
constexpr int StyleText = 0, StyleTag = 1, StyleTagUnknown = 2, StyleTagEnd = 11;

bool isTagStyle(int style) { return style == StyleTag || style == StyleTagUnknown; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '_' || c == '.'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isVoid(QByteArrayView name)
{
    static constexpr QByteArrayView voids[] = {"br", "img", "input", "meta", "link", "hr", "area",
                                               "base", "col", "embed", "source", "track", "wbr", "param"};
    if (name.size() < 2 || name.size() > 6)
        return false;
    const char first = char(name[0] | 0x20);
    return std::any_of(std::begin(voids), std::end(voids), [&](QByteArrayView v) {
        return v[0] == first && v.size() == name.size() && v.compare(name, Qt::CaseInsensitive) == 0;
    });
}

class Window {
public:
    explicit Window(const StyledWindow &w) : w(w) {}
    char at(long pos) const { return w.text[pos - w.from]; }
    int style(long pos) const { return w.styleAt(pos); }
    QByteArrayView name(const HtmlTag &t) const { return {w.text + (t.nameStart - w.from), t.nameEnd - t.nameStart}; }
    bool sameName(const HtmlTag &a, const HtmlTag &b) const { return sameName(a, name(b)); }
    bool sameName(const HtmlTag &a, QByteArrayView b) const
    {
        return a.nameEnd - a.nameStart == b.size() && name(a).compare(b, Qt::CaseInsensitive) == 0;
    }
    QByteArray nameText(const HtmlTag &t) const { return name(t).toByteArray(); }

    // Every tag that starts in the window and in coloured text, in order.
    std::vector<HtmlTag> tags() const
    {
        std::vector<HtmlTag> out;
        out.reserve(std::size_t(w.to - w.from) / 16);
        const long stop = std::min(w.to, w.endStyled);
        bool inStyleContent = false;
        for (long p = w.from; p < stop; ++p) {
            const char *lt = static_cast<const char *>(std::memchr(w.text + (p - w.from), '<', std::size_t(stop - p)));
            const long next = lt ? w.from + (lt - w.text) : stop;
            if (w.smarty) {
                const char *brace = static_cast<const char *>(std::memchr(w.text + (p - w.from), '{', std::size_t(next - p)));
                if (brace) {
                    p = w.from + (brace - w.text);
                    if (style(p) == StyleText)
                        p = templateEnd(p);
                    continue;
                }
            }
            p = next;
            if (p >= stop || !isTagStyle(style(p)))
                continue;
            HtmlTag t = tagAt(p, stop);
            if (!t.valid())
                continue;
            // Style content is coloured as page text; only its own end tag ends it.
            const bool styleTag = sameName(t, "style");
            if (inStyleContent && !(styleTag && t.closing))
                continue;
            inStyleContent = styleTag && !t.closing && !t.empty;
            out.push_back(t);
            p = t.end - 1;
        }
        return out;
    }

private:
    HtmlTag tagAt(long p, long stop) const
    {
        HtmlTag t;
        long q = p + 1;
        if (q < w.to && at(q) == '/') {
            t.closing = true;
            ++q;
        }
        if (q >= w.to || !isLetter(at(q)))
            return t;
        t.nameStart = q;
        while (q < w.to && isNameChar(at(q)))
            ++q;
        t.nameEnd = q;
        // The '>' the lexer took for the tag's end: one in a string or in PHP inside the tag is not.
        long e = q;
        bool closed = false;
        for (; e < stop; ++e) {
            const char d = at(e);
            if (d != '>' && d != '<')
                continue;
            const int s = style(e);
            if (d == '>' && (isTagStyle(s) || s == StyleTagEnd)) {
                closed = true;
                break;
            }
            if (d == '<' && isTagStyle(s))
                break; // the next tag starts: this one was never closed
        }
        t.start = p;
        t.end = closed ? e + 1 : e;
        t.empty = isVoid(name(t)) || (!t.closing && closed && at(e - 1) == '/');
        return t;
    }

    // The end of the template tag at p ("{...}" with nested braces and quotes, "{*...*}"); "{"
    // before a blank is plain text, as template engines take it (script and style in a page).
    long templateEnd(long p) const
    {
        if (p + 1 >= w.to || isBlank(at(p + 1)))
            return p;
        if (at(p + 1) == '*') {
            for (long q = p + 2; q + 1 < w.to; ++q)
                if (at(q) == '*' && at(q + 1) == '}')
                    return q + 1;
            return w.to;
        }
        int depth = 0;
        char quote = 0;
        for (long q = p; q < w.to; ++q) {
            const char c = at(q);
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                return q;
            } else if (c == '\n') {
                return q; // template tags are one line; an unclosed "{" ends with it
            }
        }
        return w.to;
    }

    const StyledWindow &w;
};

// Closing tags seen (or opening tags, going forward) whose partners are still to come.
using Stack = std::vector<const HtmlTag *>;

// Pops down to and including the innermost entry named like t; false when there is none.
bool popTo(Stack &stack, const HtmlTag &t, const Window &win)
{
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (win.sameName(**it, t)) {
            stack.erase(std::next(it).base(), stack.end());
            return true;
        }
    }
    return false;
}

} // namespace

TagMatch matchTag(const StyledWindow &window, long pos)
{
    TagMatch m;
    if (!window.text || pos < window.from || pos > window.to)
        return m;
    const Window win(window);
    const std::vector<HtmlTag> tags = win.tags();
    auto after = std::upper_bound(tags.begin(), tags.end(), pos, [](long p, const HtmlTag &t) { return p < t.start; });
    if (after == tags.begin())
        return m;
    const auto here = std::prev(after);
    if (pos > here->end)
        return m;
    m.tag = *here;
    if (here->empty) {
        m.kind = TagMatch::Kind::Empty;
        return m;
    }
    Stack stack;
    if (!here->closing) {
        for (auto it = std::next(here); it != tags.end(); ++it) {
            if (it->empty)
                continue;
            if (!it->closing) {
                stack.push_back(&*it);
            } else if (!popTo(stack, *it, win)) {
                // Not closing anything opened inside: ours, or an enclosing element that ends ours.
                m.kind = win.sameName(*it, *here) ? TagMatch::Kind::Paired : TagMatch::Kind::Unpaired;
                if (m.kind == TagMatch::Kind::Paired)
                    m.partner = *it;
                return m;
            }
        }
        const bool sawAll = window.to >= window.length && window.endStyled >= window.length;
        m.kind = sawAll ? TagMatch::Kind::Unpaired : TagMatch::Kind::Unknown;
        return m;
    }
    for (auto it = std::make_reverse_iterator(here); it != tags.rend(); ++it) {
        if (it->empty)
            continue;
        if (it->closing) {
            stack.push_back(&*it);
        } else if (!popTo(stack, *it, win) && win.sameName(*it, *here)) {
            m.kind = TagMatch::Kind::Paired;
            m.partner = *it;
            return m;
        } // else an element left open inside ours
    }
    m.kind = window.from == 0 ? TagMatch::Kind::Unpaired : TagMatch::Kind::Unknown;
    return m;
}

QByteArray openElementAt(const StyledWindow &window, long pos)
{
    if (!window.text || pos < window.from || pos > window.to)
        return {};
    const Window win(window);
    const std::vector<HtmlTag> tags = win.tags();
    Stack closed;
    for (auto it = tags.rbegin(); it != tags.rend(); ++it) {
        if (it->end > pos || it->empty)
            continue;
        if (it->closing) {
            closed.push_back(&*it);
        } else if (!popTo(closed, *it, win)) {
            if (win.sameName(*it, "script") || win.sameName(*it, "style"))
                return {};
            return win.nameText(*it);
        }
    }
    return {};
}

} // namespace kestrin
