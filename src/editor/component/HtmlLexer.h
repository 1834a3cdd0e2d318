#pragma once
// The HTML lexer (HTML with PHP, JavaScript and CSS inside) and the look of its styles: what the
// component colours a web page with before the window sets any colour of its own.
#include <QtGlobal>

#include <span>

namespace kestrin {

constexpr int kHtmlKeywordSets = 6;
// Only this much of a line is coloured; the rest of a longer line is shown in the default style.
constexpr long kColouredLineBytes = 64 * 1024;

// A new lexer object for one document (Scintilla's ILexer5; the document that gets it owns it).
void *createHtmlLexer();
const char *htmlKeywords(int set);

struct HtmlStyle {
    int style;
    quint32 fore, back; // 0xRRGGBB
    bool eolFilled;
};
// Every style the lexer uses, with its default colours.
std::span<const HtmlStyle> htmlStyles();
// Styles inside PHP or script, whose background is the script background.
bool isScriptStyle(int style);

} // namespace kestrin
