#include "StyleScheme.h"

#include "HtmlLexer.h"
#include "SciEditor.h"

#include <SciLexer.h>

#include <QPalette>

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

// The lexer's styles each item stands for.
const QList<int> &stylesOfItem(int item)
{
    using I = StyleItem;
    static const QList<int> tags = {SCE_H_TAG, SCE_H_TAGUNKNOWN, SCE_H_TAGEND, SCE_H_SGML_DEFAULT, SCE_H_SGML_COMMAND};
    static const QHash<int, QList<int>> table = {
        {int(I::Tags), tags},
        {int(I::Keywords), {SCE_HPHP_WORD, SCE_HJ_KEYWORD, SCE_HJA_KEYWORD}},
        {int(I::ScriptDelimiters), {SCE_H_QUESTION, SCE_H_XMLSTART, SCE_H_XMLEND, SCE_H_ASP, SCE_H_ASPAT,
                                    SCE_H_SCRIPT, SCE_HJ_START, SCE_HJA_START}},
        {int(I::Comments), {SCE_H_COMMENT, SCE_HPHP_COMMENT, SCE_HPHP_COMMENTLINE, SCE_HJ_COMMENT,
                            SCE_HJ_COMMENTLINE, SCE_HJ_COMMENTDOC, SCE_HJA_COMMENT, SCE_HJA_COMMENTLINE,
                            SCE_HJA_COMMENTDOC, SCE_H_SGML_COMMENT, SCE_H_XCCOMMENT}},
        {int(I::TagColour), tags},
        {int(I::Strings), {SCE_H_DOUBLESTRING, SCE_H_SINGLESTRING, SCE_HPHP_HSTRING, SCE_HPHP_SIMPLESTRING,
                           SCE_HJ_DOUBLESTRING, SCE_HJ_SINGLESTRING, SCE_HJ_TEMPLATELITERAL,
                           SCE_HJA_DOUBLESTRING, SCE_HJA_SINGLESTRING, SCE_HJA_TEMPLATELITERAL,
                           SCE_H_SGML_DOUBLESTRING, SCE_H_SGML_SIMPLESTRING}},
        {int(I::DefaultText), {SCE_H_DEFAULT, SCE_HPHP_DEFAULT, SCE_HJ_DEFAULT, SCE_HJA_DEFAULT, SCE_HJ_WORD,
                               SCE_HJA_WORD, SCE_H_OTHER}},
        {int(I::Variables), {SCE_HPHP_VARIABLE, SCE_HPHP_HSTRING_VARIABLE, SCE_HPHP_COMPLEX_VARIABLE}},
    };
    static const QList<int> none;
    auto it = table.constFind(item);
    return it == table.constEnd() ? none : *it;
}

constexpr quint32 bgrOf(quint32 rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }
quint32 bgrOf(const QColor &c) { return bgrOf(c.rgb() & 0xFFFFFF); }

} // namespace

void StyleScheme::setLanguage(const QString &language)
{
    if (language.compare(QLatin1String("PHP"), Qt::CaseInsensitive) != 0)
        return;
    m_editor->setHtmlLexer(true);
    apply();
}

void StyleScheme::setItemColor(StyleItem item, quint32 colorBGR)
{
    m_itemColors.insert(int(item), colorBGR & 0xFFFFFF);
    apply();
}

void StyleScheme::setItemFontStyle(StyleItem item, FontStyle style)
{
    m_itemFontStyles.insert(int(item), int(style));
    apply();
}

void StyleScheme::setFont(const QString &family, int pixelHeight)
{
    m_fontFamily = family;
    m_fontPixels = pixelHeight;
    apply();
}

QFont StyleScheme::font() const
{
    QFont f(m_fontFamily.isEmpty() ? QStringLiteral("Monospace") : m_fontFamily);
    f.setStyleHint(QFont::TypeWriter);
    // Scintilla sizes styles in points; convert so the characters are m_fontPixels high.
    const int px = m_fontPixels > 0 ? m_fontPixels : 15;
    const qreal dpi = m_editor->logicalDpiY() > 0 ? m_editor->logicalDpiY() : 96;
    f.setPointSizeF(px * 72.0 / dpi);
    return f;
}

void StyleScheme::setStyle(int style, const QFont &font, int fontStyle, quint32 foreBgr, quint32 backBgr,
                           bool eolFilled)
{
    m_editor->send(SCI_STYLESETFONT, style, font.family().toUtf8().constData());
    m_editor->send(SCI_STYLESETSIZEFRACTIONAL, style, std::lround(font.pointSizeF() * SC_FONT_SIZE_MULTIPLIER));
    m_editor->send(SCI_STYLESETBOLD, style, (fontStyle & int(FontStyle::Bold)) != 0);
    m_editor->send(SCI_STYLESETITALIC, style, (fontStyle & int(FontStyle::Italic)) != 0);
    m_editor->send(SCI_STYLESETFORE, style, foreBgr);
    m_editor->send(SCI_STYLESETBACK, style, backBgr);
    m_editor->send(SCI_STYLESETEOLFILLED, style, eolFilled);
    // Text of one width per character is placed by arithmetic instead of measuring every run with
    // the font: on a long line that is most of the cost of a key.
    m_editor->send(SCI_STYLESETCHECKMONOSPACED, style, 1);
}

// The whole look in one pass: the page, each style the lexer uses (its default colours, then those
// of the items set), braces, line numbers, selection and caret.
void StyleScheme::apply()
{
    QHash<int, int> styleFont; // style -> font style
    for (auto it = m_itemFontStyles.cbegin(); it != m_itemFontStyles.cend(); ++it)
        for (int s : stylesOfItem(it.key()))
            styleFont[s] = it.value();
    const int page = int(StyleItem::PageBackground), scripts = int(StyleItem::ScriptBackground);
    const int text = int(StyleItem::DefaultText);
    const QFont f = font();
    const quint32 textBgr = m_itemColors.value(text, 0x000000);
    const quint32 pageBgr = m_itemColors.value(page, 0xFFFFFF);

    setStyle(STYLE_DEFAULT, f, 0, textBgr, pageBgr, false);
    m_editor->send(SCI_STYLECLEARALL);
    if (m_editor->hasHtmlLexer()) {
        QHash<int, quint32> itemFore;
        for (auto it = m_itemColors.cbegin(); it != m_itemColors.cend(); ++it)
            if (it.key() != page && it.key() != scripts)
                for (int s : stylesOfItem(it.key()))
                    itemFore[s] = it.value();
        for (const HtmlStyle &st : htmlStyles()) {
            const bool script = isScriptStyle(st.style);
            const int backItem = script ? scripts : page;
            setStyle(st.style, f, styleFont.value(st.style, 0), itemFore.value(st.style, bgrOf(st.fore)),
                     m_itemColors.value(backItem, bgrOf(st.back)), st.eolFilled);
        }
    }
    // Braces: the partner blue, an unmatched one red.
    m_editor->send(SCI_STYLESETFORE, STYLE_BRACELIGHT, bgrOf(0x0000FF));
    m_editor->send(SCI_STYLESETFORE, STYLE_BRACEBAD, bgrOf(0xFF0000));
    m_editor->send(SCI_STYLESETBACK, STYLE_LINENUMBER, bgrOf(0xE0E0E0));
    // The selection in the desktop's colours, focused or not.
    const QPalette pal = m_editor->palette();
    for (int element : {SC_ELEMENT_SELECTION_BACK, SC_ELEMENT_SELECTION_ADDITIONAL_BACK,
                        SC_ELEMENT_SELECTION_SECONDARY_BACK, SC_ELEMENT_SELECTION_INACTIVE_BACK})
        m_editor->send(SCI_SETELEMENTCOLOUR, element, long(bgrOf(pal.color(QPalette::Active, QPalette::Highlight)) | 0xFF000000u));
    for (int element : {SC_ELEMENT_SELECTION_TEXT, SC_ELEMENT_SELECTION_ADDITIONAL_TEXT,
                        SC_ELEMENT_SELECTION_SECONDARY_TEXT, SC_ELEMENT_SELECTION_INACTIVE_TEXT})
        m_editor->send(SCI_SETELEMENTCOLOUR, element,
                       long(bgrOf(pal.color(QPalette::Active, QPalette::HighlightedText)) | 0xFF000000u));
    m_editor->send(SCI_SETCARETFORE, textBgr);
    m_editor->setLineNumbers(m_settings.value(int(EditorSetting::LineNumbers)).toBool());
}

void StyleScheme::setSetting(EditorSetting setting, const QVariant &value)
{
    m_settings.insert(int(setting), value);
    switch (setting) {
    case EditorSetting::LineNumbers: m_editor->setLineNumbers(value.toBool()); break;
    case EditorSetting::AutoIndent: m_editor->setAutoIndent(value.toBool()); break;
    case EditorSetting::BraceMatching: m_editor->setBoundedBraceMatching(value.toBool()); break;
    case EditorSetting::MarginGap:
        m_editor->send(SCI_SETMARGINLEFT, 0, std::clamp(value.toInt(), 0, 16) * 2);
        break;
    case EditorSetting::CaretLine:
        m_editor->send(SCI_SETCARETLINEBACK, bgrOf(0xE8F0FF));
        m_editor->send(SCI_SETCARETLINEVISIBLE, value.toBool());
        break;
    case EditorSetting::CaretWidth: m_editor->send(SCI_SETCARETWIDTH, std::clamp(value.toInt(), 1, 3)); break;
    case EditorSetting::TabWidth: m_editor->send(SCI_SETTABWIDTH, std::clamp(value.toInt(), 1, 32)); break;
    }
}

} // namespace kestrin
