#pragma once
// Which HTML tag closes which, decided from the text and the HTML lexer's styles: a tag is a "<"
// the lexer coloured as a tag, so tags in comments, PHP, script, strings and entities are not
// tags. Pure; no widget, no engine.
#include <QByteArray>

#include <functional>

namespace kestrin {

// Part of the document: its bytes for the positions from .. to-1, and the style of any position.
struct StyledWindow {
    const char *text = nullptr;
    std::function<int(long pos)> styleAt;
    long from = 0, to = 0;
    long length = 0;    // the whole document's length: a window that reaches it has seen all
    long endStyled = 0; // the lexer has not coloured the positions from here on yet
    bool smarty = false; // a template: "{...}" (not "{ " ) in the page's text is template code
};

struct HtmlTag {
    long start = -1;              // its '<'
    long nameStart = -1, nameEnd = -1;
    long end = -1;                // after its '>' (where it stops when it has none)
    bool closing = false;         // "</name>"
    bool empty = false;           // a void element or "<name/>": no partner, and none expected
    bool valid() const { return start >= 0; }
};

struct TagMatch {
    enum class Kind {
        NoTag,    // no tag at the position
        Empty,    // a void or self-closing tag
        Paired,   // partner found
        Unpaired, // the whole document was searched: there is none
        Unknown,  // the search left the window or reached text not coloured yet
    };
    Kind kind = Kind::NoTag;
    HtmlTag tag, partner;
};

// The tag at pos, anywhere from its '<' to its '>' (or just after the '>' when no tag starts there),
// and its partner. Names compare without regard to case. An element may be left open (<p>, <li>):
// an opening tag whose enclosing element closes first has no partner, and a closing tag skips the
// elements left open inside it. Style content and template code hold no tags.
TagMatch matchTag(const StyledWindow &window, long pos);

// The name of the innermost element open at pos, as its opening tag spells it; empty when there
// is none in the window, or it is script or style (whose content this is).
QByteArray openElementAt(const StyledWindow &window, long pos);

} // namespace kestrin
