#include "BraceMatch.h"

namespace kestrin {

char braceOpposite(char c)
{
    switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case '{': return '}';
    case '}': return '{';
    case '<': return '>';
    case '>': return '<';
    default: return 0;
    }
}

long matchBrace(const char *cells, long from, long to, long brace, long endStyled)
{
    if (brace < from || brace >= to)
        return -1;
    auto charAt = [&](long pos) { return cells[2 * (pos - from)]; };
    auto styleAt = [&](long pos) { return cells[2 * (pos - from) + 1]; };
    const char ch = charAt(brace);
    const char seek = braceOpposite(ch);
    if (!seek)
        return -1;
    const char style = styleAt(brace);
    const int step = (ch == '(' || ch == '[' || ch == '{' || ch == '<') ? 1 : -1;
    int depth = 1;
    for (long pos = brace + step; pos >= from && pos < to; pos += step) {
        if (pos > endStyled || styleAt(pos) == style) {
            const char c = charAt(pos);
            if (c == ch)
                ++depth;
            else if (c == seek && --depth == 0)
                return pos;
        }
    }
    return -1;
}

} // namespace kestrin
