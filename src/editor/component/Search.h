#pragma once
// Searching the editor's text, as the find and replace dialog asks for it.
#include <QByteArray>

namespace kestrin {

class SciEditor;

// One search as the find and replace dialog states it; what and with are UTF-8.
struct FindRequest {
    QByteArray what;
    QByteArray with;
    bool matchCase = false;
    bool wholeWord = false;
    bool regex = false;
    bool backwards = false;
    bool wrap = true;
};

// Selects the next match; false (selection unchanged) when there is none.
bool findNext(SciEditor &editor, const FindRequest &request);
// Replaces the selection when it is a match (as one undo step); false when it is not.
bool replaceSelectedMatch(SciEditor &editor, const FindRequest &request);
// Replaces every match in the document as one undo step; the number replaced.
qint64 replaceAllMatches(SciEditor &editor, const FindRequest &request);

} // namespace kestrin
