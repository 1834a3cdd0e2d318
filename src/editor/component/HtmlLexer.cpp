#include "HtmlLexer.h"

#include "textutil/Utf8.h"

#include <ILexer.h>
#include <LexerModule.h>

#include <algorithm>

// Lexilla's HTML lexer module (LexHTML.cxx), linked in without Lexilla's catalogue.
extern const Lexilla::LexerModule lmHTML;

namespace kestrin {

namespace {

// The lexer's keyword lists, by list: HTML elements and attributes, JavaScript, VBScript,
// Python, PHP, SGML.
const char *const kKeywords[kHtmlKeywordSets] = {
    // HTML elements and attributes
    "a abbr acronym address applet area b base basefont bdo big blockquote body br button caption "
    "center cite code col colgroup dd del dfn dir div dl dt em fieldset font form frame frameset h1 "
    "h2 h3 h4 h5 h6 head hr html i iframe img input ins isindex kbd label legend li link map menu "
    "meta noframes noscript object ol optgroup option p param pre q s samp script select small span "
    "strike strong style sub sup table tbody td textarea tfoot th thead title tr tt u ul var xml "
    "xmlns abbr accept-charset accept accesskey action align alink alt archive axis background "
    "bgcolor border cellpadding cellspacing char charoff charset checked cite class classid clear "
    "codebase codetype color cols colspan compact content coords data datafld dataformatas "
    "datapagesize datasrc datetime declare defer dir disabled enctype event face for frame "
    "frameborder headers height href hreflang hspace http-equiv id ismap label lang language "
    "leftmargin link longdesc marginwidth marginheight maxlength media method multiple name nohref "
    "noresize noshade nowrap object onblur onchange onclick ondblclick onfocus onkeydown onkeypress "
    "onkeyup onload onmousedown onmousemove onmouseover onmouseout onmouseup onreset onselect "
    "onsubmit onunload profile prompt readonly rel rev rows rowspan rules scheme scope selected shape "
    "size span src standby start style summary tabindex target text title topmargin type usemap "
    "valign value valuetype version vlink vspace width text password checkbox radio submit reset file "
    "hidden image public !doctype",
    // JavaScript
    "abstract boolean break byte case catch char class const continue debugger default delete do "
    "double else enum export extends final finally float for function goto if implements import in "
    "instanceof int interface long native new package private protected public return short static "
    "super switch synchronized this throw throws transient try typeof var void volatile while with",
    // VBScript
    "and begin case call continue do each else elseif end erase error event exit false for function "
    "get gosub goto if implement in load loop lset me mid new next not nothing on or property "
    "raiseevent rem resume return rset select set stop sub then to true unload until wend while with "
    "withevents attribute alias as boolean byref byte byval const compare currency date declare dim "
    "double enum explicit friend global integer let lib long module object option optional preserve "
    "private property public redim single static string type variant",
    // Python
    "and as assert break class continue def del elif else except exec finally for from global if "
    "import in is lambda None not or pass print raise return try while with yield",
    // PHP
    "and argv as argc break case cfunction class continue declare default do die echo else elseif "
    "empty enddeclare endfor endforeach endif endswitch endwhile e_all e_parse e_error e_warning eval "
    "exit extends false for foreach function global http_cookie_vars http_get_vars http_post_vars "
    "http_post_files http_env_vars http_server_vars if include include_once list new not null "
    "old_function or parent php_os php_self php_version print require require_once return static "
    "switch stdclass this true var xor virtual while __file__ __line__ __sleep __wakeup",
    // SGML
    "ELEMENT DOCTYPE ATTLIST ENTITY NOTATION",
};

// Each style's colours: text and background as 0xRRGGBB, and whether the background runs to the
// window's edge after the line's last character (a block of script reads as one block).
constexpr HtmlStyle kStyles[] = {
    {0, 0x000000, 0xffffff, false}, // HTML default
    {1, 0x000080, 0xffffff, false}, // Tag
    {2, 0xff0000, 0xffffff, false}, // Unknown tag
    {3, 0x008080, 0xffffff, false}, // Attribute
    {4, 0xff0000, 0xffffff, false}, // Unknown attribute
    {5, 0x007f7f, 0xffffff, false}, // HTML number
    {6, 0x7f007f, 0xffffff, false}, // HTML double-quoted string
    {7, 0x7f007f, 0xffffff, false}, // HTML single-quoted string
    {8, 0x800080, 0xffffff, false}, // Other text in a tag
    {9, 0x808000, 0xffffff, false}, // HTML comment
    {10, 0x800080, 0xffffff, false}, // Entity
    {11, 0x000080, 0xffffff, false}, // End of a tag
    {12, 0x0000ff, 0xffffff, false}, // Start of an XML fragment
    {13, 0x0000ff, 0xffffff, false}, // End of an XML fragment
    {14, 0x000080, 0xffffff, false}, // Script tag
    {15, 0x000000, 0xffff00, false}, // Start of an ASP fragment with @
    {16, 0x000000, 0xffdf00, false}, // Start of an ASP fragment
    {17, 0x000000, 0xffdf00, false}, // CDATA
    {18, 0x0000ff, 0xffefbf, false}, // Start of a PHP fragment
    {19, 0xff00ff, 0xffefff, false}, // Unquoted HTML value
    {20, 0x000000, 0xffffff, false}, // ASP X-Code comment
    {21, 0x000080, 0xefefff, false}, // SGML default
    {22, 0x000080, 0xefefff, false}, // SGML command
    {23, 0x006600, 0xefefff, false}, // First parameter of an SGML command
    {24, 0x800000, 0xefefff, false}, // SGML double-quoted string
    {25, 0x993300, 0xefefff, false}, // SGML single-quoted string
    {26, 0x800000, 0xff6666, false}, // SGML error
    {27, 0x3366ff, 0xefefff, false}, // SGML special entity
    {29, 0x808000, 0xefefff, false}, // SGML comment
    {30, 0x000000, 0xffffff, false}, // First parameter comment of an SGML command
    {31, 0x000066, 0xcccce0, false}, // SGML block default
    {40, 0x7f7f00, 0xffffff, false}, // Start of a JavaScript fragment
    {41, 0x000000, 0xf0f0ff, true}, // JavaScript default
    {42, 0x007f00, 0xf0f0ff, true}, // JavaScript comment
    {43, 0x007f00, 0xf0f0ff, false}, // JavaScript line comment
    {44, 0x3f703f, 0xf0f0ff, true}, // JavaDoc style JavaScript comment
    {45, 0x007f7f, 0xf0f0ff, false}, // JavaScript number
    {46, 0x000000, 0xf0f0ff, false}, // JavaScript word
    {47, 0x00007f, 0xf0f0ff, false}, // JavaScript keyword
    {48, 0x7f007f, 0xf0f0ff, false}, // JavaScript double-quoted string
    {49, 0x7f007f, 0xf0f0ff, false}, // JavaScript single-quoted string
    {50, 0x000000, 0xf0f0ff, false}, // JavaScript symbol
    {51, 0x000000, 0xbfbbb0, true}, // JavaScript unclosed string
    {52, 0x000000, 0xffbbb0, false}, // JavaScript regular expression
    {53, 0x7f007f, 0xf0f0ff, false}, // JavaScript template literal, as its other strings
    {55, 0x7f7f00, 0xffffff, false}, // Start of an ASP JavaScript fragment
    {56, 0x000000, 0xdfdf7f, true}, // ASP JavaScript default
    {57, 0x007f00, 0xdfdf7f, true}, // ASP JavaScript comment
    {58, 0x007f00, 0xdfdf7f, false}, // ASP JavaScript line comment
    {59, 0x7f7f7f, 0xdfdf7f, true}, // JavaDoc style ASP JavaScript comment
    {60, 0x007f7f, 0xdfdf7f, false}, // ASP JavaScript number
    {61, 0x000000, 0xdfdf7f, false}, // ASP JavaScript word
    {62, 0x00007f, 0xdfdf7f, false}, // ASP JavaScript keyword
    {63, 0x7f007f, 0xdfdf7f, false}, // ASP JavaScript double-quoted string
    {64, 0x7f007f, 0xdfdf7f, false}, // ASP JavaScript single-quoted string
    {65, 0x000000, 0xdfdf7f, false}, // ASP JavaScript symbol
    {66, 0x000000, 0xbfbbb0, true}, // ASP JavaScript unclosed string
    {67, 0x000000, 0xffbbb0, false}, // ASP JavaScript regular expression
    {68, 0x7f007f, 0xdfdf7f, false}, // ASP JavaScript template literal, as its other strings
    {70, 0x000000, 0xffffff, false}, // Start of a VBScript fragment
    {71, 0x000000, 0xefefff, true}, // VBScript default
    {72, 0x008000, 0xefefff, true}, // VBScript comment
    {73, 0x008080, 0xefefff, true}, // VBScript number
    {74, 0x000080, 0xefefff, true}, // VBScript keyword
    {75, 0x800080, 0xefefff, true}, // VBScript string
    {76, 0x000080, 0xefefff, true}, // VBScript identifier
    {77, 0x000080, 0x7f7fff, true}, // VBScript unclosed string
    {80, 0x000000, 0xffffff, false}, // Start of an ASP VBScript fragment
    {81, 0x000000, 0xcfcfef, true}, // ASP VBScript default
    {82, 0x008000, 0xcfcfef, true}, // ASP VBScript comment
    {83, 0x008080, 0xcfcfef, true}, // ASP VBScript number
    {84, 0x000080, 0xcfcfef, true}, // ASP VBScript keyword
    {85, 0x800080, 0xcfcfef, true}, // ASP VBScript string
    {86, 0x000080, 0xcfcfef, true}, // ASP VBScript identifier
    {87, 0x000080, 0x7f7fff, true}, // ASP VBScript unclosed string
    {90, 0x808080, 0xffffff, false}, // Start of a Python fragment
    {91, 0x808080, 0xefffef, true}, // Python default
    {92, 0x007f00, 0xefffef, true}, // Python comment
    {93, 0x007f7f, 0xefffef, true}, // Python number
    {94, 0x7f007f, 0xefffef, true}, // Python double-quoted string
    {95, 0x7f007f, 0xefffef, true}, // Python single-quoted string
    {96, 0x00007f, 0xefffef, true}, // Python keyword
    {97, 0x7f0000, 0xefffef, true}, // Python triple single-quoted string
    {98, 0x7f0000, 0xefffef, true}, // Python triple double-quoted string
    {99, 0x0000ff, 0xefffef, true}, // Python class name
    {100, 0x007f7f, 0xefffef, true}, // Python function or method name
    {101, 0x000000, 0xefffef, true}, // Python operator
    {102, 0x000000, 0xefffef, true}, // Python identifier
    {105, 0x808080, 0xffffff, false}, // Start of an ASP Python fragment
    {106, 0x808080, 0xcfefcf, true}, // ASP Python default
    {107, 0x007f00, 0xcfefcf, true}, // ASP Python comment
    {108, 0x007f7f, 0xcfefcf, true}, // ASP Python number
    {109, 0x7f007f, 0xcfefcf, true}, // ASP Python double-quoted string
    {110, 0x7f007f, 0xcfefcf, true}, // ASP Python single-quoted string
    {111, 0x00007f, 0xcfefcf, true}, // ASP Python keyword
    {112, 0x7f0000, 0xcfefcf, true}, // ASP Python triple single-quoted string
    {113, 0x7f0000, 0xcfefcf, true}, // ASP Python triple double-quoted string
    {114, 0x0000ff, 0xcfefcf, true}, // ASP Python class name
    {115, 0x007f7f, 0xcfefcf, true}, // ASP Python function or method name
    {116, 0x000000, 0xcfefcf, true}, // ASP Python operator
    {104, 0x00007f, 0xfff8f8, false}, // PHP complex variable, as the other variables
    {117, 0x000000, 0xcfefcf, true}, // ASP Python identifier
    {118, 0x000033, 0xfff8f8, true}, // PHP default
    {119, 0x007f00, 0xfff8f8, false}, // PHP double-quoted string
    {120, 0x009f00, 0xfff8f8, false}, // PHP single-quoted string
    {121, 0x7f007f, 0xfff8f8, false}, // PHP keyword
    {122, 0xcc9900, 0xfff8f8, false}, // PHP number
    {123, 0x00007f, 0xfff8f8, false}, // PHP variable
    {124, 0x999999, 0xfff8f8, false}, // PHP comment
    {125, 0x666666, 0xfff8f8, false}, // PHP line comment
    {126, 0x00007f, 0xfff8f8, false}, // PHP double-quoted variable
    {127, 0x000000, 0xfff8f8, false}, // PHP operator
};

// The HTML lexer, limited to the first kColouredLineBytes of each line: the rest of a longer line
// (minified script) keeps the default style. Scintilla lays out and the lexer re-reads a changed
// line whole, and on such a line that cost grows with the line: a key at the end of a 2.4 MB line
// took most of a second. What follows a long line is coloured again from the next line on, read as
// HTML.
class LineLimitedLexer final : public Scintilla::ILexer5 {
public:
    explicit LineLimitedLexer(Scintilla::ILexer5 *inner) : m_inner(inner) {}

    void SCI_METHOD Lex(Sci_PositionU startPos, Sci_Position length, int initStyle, Scintilla::IDocument *doc) override
    {
        const Sci_Position end = Sci_Position(startPos) + length;
        Sci_Position chunk = Sci_Position(startPos); // the next range the lexer itself reads
        for (Sci_Position line = doc->LineFromPosition(chunk); doc->LineStart(line) < end; ++line) {
            const Sci_Position lineStart = doc->LineStart(line), next = doc->LineStart(line + 1);
            if (next - lineStart <= kColouredLineBytes)
                continue;
            const Sci_Position cut = utf8::characterStart(lineStart + kColouredLineBytes, [doc](Sci_Position at) {
                char byte = 0;
                doc->GetCharRange(&byte, at, 1);
                return byte;
            });
            if (std::min(cut, end) > chunk)
                m_inner->Lex(Sci_PositionU(chunk), std::min(cut, end) - chunk, initStyle, doc);
            const Sci_Position from = std::max(cut, chunk), to = std::min(next, end);
            if (to > from) {
                doc->StartStyling(from);
                doc->SetStyleFor(to - from, 0);
            }
            chunk = std::max(chunk, to);
            initStyle = 0;
            if (next >= end)
                break;
        }
        if (end > chunk)
            m_inner->Lex(Sci_PositionU(chunk), end - chunk, initStyle, doc);
    }

    int SCI_METHOD Version() const override { return m_inner->Version(); }
    void SCI_METHOD Release() override
    {
        m_inner->Release();
        delete this;
    }
    const char *SCI_METHOD PropertyNames() override { return m_inner->PropertyNames(); }
    int SCI_METHOD PropertyType(const char *name) override { return m_inner->PropertyType(name); }
    const char *SCI_METHOD DescribeProperty(const char *name) override { return m_inner->DescribeProperty(name); }
    Sci_Position SCI_METHOD PropertySet(const char *key, const char *val) override { return m_inner->PropertySet(key, val); }
    const char *SCI_METHOD DescribeWordListSets() override { return m_inner->DescribeWordListSets(); }
    Sci_Position SCI_METHOD WordListSet(int n, const char *wl) override { return m_inner->WordListSet(n, wl); }
    void SCI_METHOD Fold(Sci_PositionU startPos, Sci_Position length, int initStyle, Scintilla::IDocument *doc) override
    {
        m_inner->Fold(startPos, length, initStyle, doc);
    }
    void *SCI_METHOD PrivateCall(int operation, void *pointer) override { return m_inner->PrivateCall(operation, pointer); }
    int SCI_METHOD LineEndTypesSupported() override { return m_inner->LineEndTypesSupported(); }
    int SCI_METHOD AllocateSubStyles(int base, int count) override { return m_inner->AllocateSubStyles(base, count); }
    int SCI_METHOD SubStylesStart(int base) override { return m_inner->SubStylesStart(base); }
    int SCI_METHOD SubStylesLength(int base) override { return m_inner->SubStylesLength(base); }
    int SCI_METHOD StyleFromSubStyle(int subStyle) override { return m_inner->StyleFromSubStyle(subStyle); }
    int SCI_METHOD PrimaryStyleFromStyle(int style) override { return m_inner->PrimaryStyleFromStyle(style); }
    void SCI_METHOD FreeSubStyles() override { m_inner->FreeSubStyles(); }
    void SCI_METHOD SetIdentifiers(int style, const char *identifiers) override { m_inner->SetIdentifiers(style, identifiers); }
    int SCI_METHOD DistanceToSecondaryStyles() override { return m_inner->DistanceToSecondaryStyles(); }
    const char *SCI_METHOD GetSubStyleBases() override { return m_inner->GetSubStyleBases(); }
    int SCI_METHOD NamedStyles() override { return m_inner->NamedStyles(); }
    const char *SCI_METHOD NameOfStyle(int style) override { return m_inner->NameOfStyle(style); }
    const char *SCI_METHOD TagsOfStyle(int style) override { return m_inner->TagsOfStyle(style); }
    const char *SCI_METHOD DescriptionOfStyle(int style) override { return m_inner->DescriptionOfStyle(style); }
    const char *SCI_METHOD GetName() override { return m_inner->GetName(); }
    int SCI_METHOD GetIdentifier() override { return m_inner->GetIdentifier(); }
    const char *SCI_METHOD PropertyGet(const char *key) override { return m_inner->PropertyGet(key); }

private:
    ~LineLimitedLexer() = default;

    Scintilla::ILexer5 *m_inner;
};

} // namespace

void *createHtmlLexer() { return new LineLimitedLexer(lmHTML.Create()); }

const char *htmlKeywords(int set) { return set >= 0 && set < kHtmlKeywordSets ? kKeywords[set] : ""; }

std::span<const HtmlStyle> htmlStyles() { return kStyles; }

bool isScriptStyle(int style) { return (style >= 40 && style <= 68) || (style >= 118 && style <= 127) || style == 104; }

} // namespace kestrin
