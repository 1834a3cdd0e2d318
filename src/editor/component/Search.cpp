#include "Search.h"

#include "SciEditor.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace kestrin {

namespace {

int searchFlags(const FindRequest &request)
{
    return (request.matchCase ? SCFIND_MATCHCASE : 0) | (request.wholeWord ? SCFIND_WHOLEWORD : 0);
}

// Scintilla's own expressions step through bytes: "." or a class took one byte of a UTF-8
// character, and a group holding half a character wrote broken text into the document. Regular
// expressions therefore run on characters, line by line as Scintilla's did.
struct Match {
    long start = -1, end = -1;
    QRegularExpressionMatch groups;
};

QRegularExpression expressionOf(const FindRequest &request)
{
    QString pattern = QString::fromUtf8(request.what);
    if (request.wholeWord)
        pattern = "\\b(?:" + pattern + ")\\b";
    return QRegularExpression(pattern, request.matchCase ? QRegularExpression::NoPatternOption
                                                         : QRegularExpression::CaseInsensitiveOption);
}

// The matches inside [from, to) on one line, in order, with byte positions. The whole line is the
// subject, so ^, $ and look-behinds see what surrounds the range.
std::vector<Match> lineMatches(SciEditor &e, const QRegularExpression &re, long line, long from, long to)
{
    std::vector<Match> found;
    const long lineStart = e.send(SCI_POSITIONFROMLINE, line);
    const long lineEnd = e.send(SCI_GETLINEENDPOSITION, line);
    const long begin = std::max(from, lineStart);
    if (std::min(to, lineEnd) < begin)
        return found;
    const auto *bytes = reinterpret_cast<const char *>(e.send(SCI_GETRANGEPOINTER, lineStart, lineEnd - lineStart));
    const QString text = QString::fromUtf8(bytes, lineEnd - lineStart);
    qsizetype index = QString::fromUtf8(bytes, begin - lineStart).size();
    long position = begin; // the byte position of index, carried along so each match costs its own length
    auto matches = re.globalMatch(text, index);
    while (matches.hasNext()) {
        Match m{-1, -1, matches.next()};
        position += long(QStringView(text).mid(index, m.groups.capturedStart() - index).toUtf8().size());
        index = m.groups.capturedStart();
        m.start = position;
        m.end = position + long(m.groups.capturedView().toUtf8().size());
        if (m.end > to)
            break;
        found.push_back(std::move(m));
    }
    return found;
}

// The first match inside [from, to), or, when from > to, the last match inside [to, from).
Match regexFind(SciEditor &e, const QRegularExpression &re, long from, long to)
{
    if (!re.isValid())
        return {};
    const bool backwards = from > to;
    const long low = std::min(from, to), high = std::max(from, to);
    const long first = e.send(SCI_LINEFROMPOSITION, backwards ? high : low);
    const long last = e.send(SCI_LINEFROMPOSITION, backwards ? low : high);
    for (long line = first; backwards ? line >= last : line <= last; line += backwards ? -1 : 1) {
        std::vector<Match> found = lineMatches(e, re, line, low, high);
        if (!found.empty())
            return std::move(backwards ? found.back() : found.front());
    }
    return {};
}

// What replaces a match: \0 to \9 are its groups; \a \b \f \n \r \t \v and \\ as Scintilla read them.
QByteArray substitute(const QByteArray &with, const QRegularExpressionMatch &m)
{
    static const QByteArray escapes = "a\ab\bf\fn\nr\rt\tv\v\\\\";
    QByteArray out;
    for (qsizetype i = 0; i < with.size(); ++i) {
        const char next = i + 1 < with.size() ? with[i + 1] : '\0';
        const qsizetype escape = next ? escapes.indexOf(next) : -1;
        if (with[i] != '\\' || !next) {
            out += with[i];
        } else if (next >= '0' && next <= '9') {
            out += m.captured(next - '0').toUtf8();
            ++i;
        } else if (escape >= 0 && escape % 2 == 0) {
            out += escapes[escape + 1];
            ++i;
        } else {
            out += '\\';
        }
    }
    return out;
}

// One search in [from, to), backwards when from > to: where the match starts (-1 when there is
// none), with the target set to the match.
long searchRange(SciEditor &e, const FindRequest &request, long from, long to, Match *match = nullptr)
{
    if (!request.regex) {
        e.send(SCI_SETTARGETRANGE, from, to);
        return e.send(SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
    }
    Match m = regexFind(e, expressionOf(request), from, to);
    if (m.start >= 0)
        e.send(SCI_SETTARGETRANGE, m.start, m.end);
    const long at = m.start;
    if (match)
        *match = std::move(m);
    return at;
}

// What a match is replaced with.
QByteArray replacementOf(const FindRequest &request, const Match &match)
{
    return request.regex ? substitute(request.with, match.groups) : request.with;
}

} // namespace

bool findNext(SciEditor &e, const FindRequest &request)
{
    if (request.what.isEmpty())
        return false;
    e.send(SCI_SETSEARCHFLAGS, searchFlags(request));

    const long len = e.length();
    const long selStart = e.send(SCI_GETSELECTIONSTART);
    const long selEnd = e.send(SCI_GETSELECTIONEND);
    auto search = [&](long from, long to) { return searchRange(e, request, from, to); };
    long from = request.backwards ? selStart : selEnd;
    long at = request.backwards ? search(from, 0) : search(from, len);
    // An empty match where the caret already stands would be found again and again.
    if (at >= 0 && e.send(SCI_GETTARGETEND) == at && at == selStart && selStart == selEnd) {
        if (request.backwards)
            at = from > 0 ? search(e.send(SCI_POSITIONBEFORE, from), 0) : -1;
        else
            at = from < len ? search(e.send(SCI_POSITIONAFTER, from), len) : -1;
    }
    if (at < 0 && request.wrap)
        at = request.backwards ? search(len, 0) : search(0, len);
    if (at < 0)
        return false;
    const long end = e.send(SCI_GETTARGETEND);
    e.send(SCI_ENSUREVISIBLEENFORCEPOLICY, e.send(SCI_LINEFROMPOSITION, at));
    e.send(SCI_SETSEL, at, end);
    e.settle();
    return true;
}

bool replaceSelectedMatch(SciEditor &e, const FindRequest &request)
{
    const long selStart = e.send(SCI_GETSELECTIONSTART);
    const long selEnd = e.send(SCI_GETSELECTIONEND);
    if (selEnd <= selStart || request.what.isEmpty())
        return false;
    e.send(SCI_SETSEARCHFLAGS, searchFlags(request));
    Match match;
    const long at = searchRange(e, request, selStart, selEnd, &match);
    if (at != selStart || e.send(SCI_GETTARGETEND) != selEnd)
        return false;
    return e.edit([&] {
        const long written = e.replace(selStart, selEnd, replacementOf(request, match));
        return request.backwards ? selStart : selStart + written;
    });
}

qint64 replaceAllMatches(SciEditor &e, const FindRequest &request)
{
    if (request.what.isEmpty())
        return 0;
    qint64 count = 0;
    const long caret = e.send(SCI_GETCURRENTPOS);
    e.edit([&] {
        if (request.regex) {
            // Line by line from the end, each line's matches from its end: what is still to be
            // replaced never moves, and each line is read once.
            const QRegularExpression re = expressionOf(request);
            for (long line = re.isValid() ? e.send(SCI_GETLINECOUNT) - 1 : -1; line >= 0; --line) {
                const std::vector<Match> found = lineMatches(e, re, line, 0, e.length());
                for (auto m = found.rbegin(); m != found.rend(); ++m, ++count)
                    e.replace(m->start, m->end, replacementOf(request, *m));
            }
            return count > 0 ? caret : SciEditor::NoChange;
        }
        e.send(SCI_SETSEARCHFLAGS, searchFlags(request));
        for (long pos = 0, end = e.length(); pos <= end;) {
            Match match;
            const long at = searchRange(e, request, pos, end, &match);
            if (at < 0)
                break;
            const long matchEnd = e.send(SCI_GETTARGETEND);
            const long written = e.replace(at, matchEnd, replacementOf(request, match));
            ++count;
            end += written - (matchEnd - at);
            pos = at + written;
            if (matchEnd == at) { // an empty match: step over one character
                if (pos >= end)
                    break;
                pos = e.send(SCI_POSITIONAFTER, pos);
            }
        }
        return count > 0 ? caret : SciEditor::NoChange;
    });
    return count;
}

} // namespace kestrin
