#include "Search.h"

#include "SciEditor.h"

#include <algorithm>

namespace kestrin {

namespace {

using Sci = QsciScintillaBase;

int searchFlags(const FindRequest &request)
{
    return (request.matchCase ? Sci::SCFIND_MATCHCASE : 0) | (request.wholeWord ? Sci::SCFIND_WHOLEWORD : 0)
           | (request.regex ? Sci::SCFIND_REGEXP | Sci::SCFIND_POSIX : 0);
}

unsigned int replaceMessage(const FindRequest &request)
{
    return request.regex ? Sci::SCI_REPLACETARGETRE : Sci::SCI_REPLACETARGET;
}

} // namespace

bool findNext(SciEditor &e, const FindRequest &request)
{
    if (request.what.isEmpty())
        return false;
    e.send(Sci::SCI_SETSEARCHFLAGS, searchFlags(request));

    const long len = e.length();
    const long selStart = e.send(Sci::SCI_GETSELECTIONSTART);
    const long selEnd = e.send(Sci::SCI_GETSELECTIONEND);
    auto search = [&](long from, long to) -> long {
        e.send(Sci::SCI_SETTARGETRANGE, from, to);
        return e.send(Sci::SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
    };
    long from = request.backwards ? selStart : selEnd;
    long at = request.backwards ? search(from, 0) : search(from, len);
    // An empty match where the caret already stands would be found again and again.
    if (at >= 0 && e.send(Sci::SCI_GETTARGETEND) == at && at == selStart && selStart == selEnd) {
        if (request.backwards)
            at = from > 0 ? search(e.send(Sci::SCI_POSITIONBEFORE, from), 0) : -1;
        else
            at = from < len ? search(e.send(Sci::SCI_POSITIONAFTER, from), len) : -1;
    }
    if (at < 0 && request.wrap)
        at = request.backwards ? search(len, 0) : search(0, len);
    if (at < 0)
        return false;
    const long end = e.send(Sci::SCI_GETTARGETEND);
    e.send(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, e.send(Sci::SCI_LINEFROMPOSITION, at));
    e.send(Sci::SCI_SETSEL, at, end);
    e.settle();
    return true;
}

bool replaceSelectedMatch(SciEditor &e, const FindRequest &request)
{
    const long selStart = e.send(Sci::SCI_GETSELECTIONSTART);
    const long selEnd = e.send(Sci::SCI_GETSELECTIONEND);
    if (selEnd <= selStart || request.what.isEmpty())
        return false;
    e.send(Sci::SCI_SETSEARCHFLAGS, searchFlags(request));
    e.send(Sci::SCI_SETTARGETRANGE, selStart, selEnd);
    const long at = e.send(Sci::SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
    if (at != selStart || e.send(Sci::SCI_GETTARGETEND) != selEnd)
        return false;
    long written = 0;
    {
        SciEditor::Quiet quiet(&e);
        e.send(Sci::SCI_BEGINUNDOACTION);
        written = e.send(replaceMessage(request), request.with.size(), request.with.constData());
        e.send(Sci::SCI_ENDUNDOACTION);
    }
    const long caret = request.backwards ? selStart : selStart + written;
    e.send(Sci::SCI_SETSEL, caret, caret);
    e.textChanged();
    return true;
}

qint64 replaceAll(SciEditor &e, const FindRequest &request)
{
    if (request.what.isEmpty())
        return 0;
    qint64 count = 0;
    const long caret = e.send(Sci::SCI_GETCURRENTPOS);
    {
        SciEditor::Quiet quiet(&e);
        e.send(Sci::SCI_SETSEARCHFLAGS, searchFlags(request));
        long pos = 0;
        long end = e.length();
        bool grouped = false;
        while (pos <= end) {
            e.send(Sci::SCI_SETTARGETRANGE, pos, end);
            const long at = e.send(Sci::SCI_SEARCHINTARGET, request.what.size(), request.what.constData());
            if (at < 0)
                break;
            if (!grouped) {
                e.send(Sci::SCI_BEGINUNDOACTION);
                grouped = true;
            }
            const long matchEnd = e.send(Sci::SCI_GETTARGETEND);
            const long written = e.send(replaceMessage(request), request.with.size(), request.with.constData());
            ++count;
            end += written - (matchEnd - at);
            pos = at + written;
            if (matchEnd == at) { // an empty match: step over one character
                if (pos >= end)
                    break;
                pos = e.send(Sci::SCI_POSITIONAFTER, pos);
            }
        }
        if (grouped)
            e.send(Sci::SCI_ENDUNDOACTION);
    }
    if (count > 0) {
        e.placeCaret(std::min<long>(caret, e.length()));
        e.textChanged();
    }
    return count;
}

} // namespace kestrin
