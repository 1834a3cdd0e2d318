#pragma once
// The numbers through which the editor window drives the component, named. The values are the
// numbers the window's configuration and commands have always used.

namespace kestrin {

// ExecuteCommand's commands; any other value does nothing.
enum class EditorCommand {
    SelectAll = 137,
    Paste = 140,         // plain text from the clipboard, in the document's line ends
    ReplaceDialog = 169,
    FindNext = 176,      // with the last search, or the find dialog when there was none
    FindDialog = 178,
    Copy = 198,          // the selection to the clipboard; nothing when it is empty
    ShowCaret = 229,     // scrolls the caret into view; issued after every insertion
};

// setSetting's settings. The window applies, in this order: LineNumbers on, Language "PHP",
// CaretLine on, CaretWidth 1, MarginGap 2, AutoIndent on, BraceMatching on, TabWidth 8, then
// its colours and MarginGap 1.
enum class EditorSetting {
    LineNumbers = 0,     // bool: line-number margin shown (its width follows the number of lines)
    AutoIndent = 5,      // bool: Enter copies the previous line's indentation
    BraceMatching = 6,   // bool: the brace at the caret and its partner highlighted
    MarginGap = 29,      // int: blank gap between the margins and the text, in units of 2 px
    CaretLine = 87,      // bool: the caret's line highlighted (a pale blue band)
    CaretWidth = 88,     // int: caret width in pixels (1..3)
    TabWidth = 110,      // int: tab width in columns
};

// SetItemColor's and SetItemFontStyle's items: groups of the HTML/PHP/JavaScript colouring's
// styles (colour = foreground unless noted). With the window's scheme: black text on white, red
// tags, bold keywords and script delimiters, green strings and variables, olive comments. Other
// numbers are accepted and kept, and mean nothing.
enum class StyleItem {
    Tags = 1,            // HTML tags, known and unknown, and tag ends
    Keywords = 3,        // keywords of PHP and JavaScript
    ScriptDelimiters = 4, // <?php ?>, <% %>, <? ?> and the like
    Comments = 6,        // HTML, PHP, JavaScript and SGML comments
    TagColour = 12,      // HTML tags as well: the colour of Tags' styles
    ScriptBackground = 14, // background of embedded scripts (PHP and JavaScript sections)
    Strings = 15,        // HTML attribute values, PHP and JavaScript strings
    DefaultText = 16,    // HTML text, PHP and JavaScript plain code, and the caret
    PageBackground = 26, // background of the page and of everything that is not a script
    Variables = 27,      // PHP variables, in code and inside double-quoted strings
};

// SetItemFontStyle's styles.
enum class FontStyle { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

} // namespace kestrin
