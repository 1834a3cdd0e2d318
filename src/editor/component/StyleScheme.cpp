#include "StyleScheme.h"

#include "SciEditor.h"
#include "common/BgrColor.h"

#include <Qsci/qscilexerhtml.h>

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

using Sci = QsciScintillaBase;

// The lexer's styles each item stands for.
const QList<int> &stylesOfItem(int item)
{
    using L = QsciLexerHTML;
    using I = StyleItem;
    static const QHash<int, QList<int>> table = {
        {int(I::Tags), {L::Tag, L::UnknownTag, L::XMLTagEnd, L::SGMLDefault, L::SGMLCommand}},
        {int(I::Keywords), {L::PHPKeyword, L::JavaScriptKeyword, L::ASPJavaScriptKeyword}},
        {int(I::ScriptDelimiters), {L::PHPStart, L::XMLStart, L::XMLEnd, L::ASPStart, L::ASPAtStart, L::Script,
                                    L::JavaScriptStart, L::ASPJavaScriptStart}},
        {int(I::Comments), {L::HTMLComment, L::PHPComment, L::PHPCommentLine, L::JavaScriptComment,
                            L::JavaScriptCommentLine, L::JavaScriptCommentDoc, L::ASPJavaScriptComment,
                            L::ASPJavaScriptCommentLine, L::ASPJavaScriptCommentDoc, L::SGMLComment,
                            L::ASPXCComment}},
        {int(I::TagColour), {L::Tag, L::UnknownTag, L::XMLTagEnd, L::SGMLDefault, L::SGMLCommand}},
        {int(I::Strings), {L::HTMLDoubleQuotedString, L::HTMLSingleQuotedString, L::PHPDoubleQuotedString,
                           L::PHPSingleQuotedString, L::JavaScriptDoubleQuotedString,
                           L::JavaScriptSingleQuotedString, L::ASPJavaScriptDoubleQuotedString,
                           L::ASPJavaScriptSingleQuotedString, L::SGMLDoubleQuotedString,
                           L::SGMLSingleQuotedString}},
        {int(I::DefaultText), {L::Default, L::PHPDefault, L::JavaScriptDefault, L::ASPJavaScriptDefault,
                               L::JavaScriptWord, L::ASPJavaScriptWord, L::OtherInTag}},
        {int(I::Variables), {L::PHPVariable, L::PHPDoubleQuotedVariable}},
    };
    static const QList<int> none;
    auto it = table.constFind(item);
    return it == table.constEnd() ? none : *it;
}

bool isScriptStyle(int style) { return (style >= 40 && style <= 67) || (style >= 118 && style <= 127); }

} // namespace

void StyleScheme::setLanguage(const QString &language)
{
    if (language.compare(QLatin1String("PHP"), Qt::CaseInsensitive) != 0)
        return;
    if (!m_lexer)
        m_lexer = new QsciLexerHTML(m_editor);
    m_editor->setLexer(m_lexer);
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

QFont StyleScheme::fontFor(bool bold, bool italic) const
{
    QFont f(m_fontFamily.isEmpty() ? QStringLiteral("Monospace") : m_fontFamily);
    f.setStyleHint(QFont::TypeWriter);
    // QScintilla sizes styles in points; convert so the characters are m_fontPixels high.
    const int px = m_fontPixels > 0 ? m_fontPixels : 15;
    const qreal dpi = m_editor->logicalDpiY() > 0 ? m_editor->logicalDpiY() : 96;
    f.setPointSizeF(px * 72.0 / dpi);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void StyleScheme::apply()
{
    QHash<int, int> styleFont; // style -> font style number
    for (auto it = m_itemFontStyles.cbegin(); it != m_itemFontStyles.cend(); ++it)
        for (int s : stylesOfItem(it.key()))
            styleFont[s] = it.value();
    const int page = int(StyleItem::PageBackground), scripts = int(StyleItem::ScriptBackground);
    const int text = int(StyleItem::DefaultText);
    if (m_lexer) {
        for (int s = 0; s <= 127; ++s) {
            if (m_lexer->description(s).isEmpty())
                continue;
            const int fs = styleFont.value(s, 0);
            m_lexer->setFont(fontFor(fs & int(FontStyle::Bold), fs & int(FontStyle::Italic)), s);
        }
        for (auto it = m_itemColors.cbegin(); it != m_itemColors.cend(); ++it) {
            const QColor c = colorFromBgr(it.value());
            if (it.key() == page || it.key() == scripts) {
                const bool forScripts = it.key() == scripts;
                if (!forScripts)
                    m_lexer->setDefaultPaper(c);
                for (int s = 0; s <= 127; ++s)
                    if (!m_lexer->description(s).isEmpty() && isScriptStyle(s) == forScripts)
                        m_lexer->setPaper(c, s);
                continue;
            }
            for (int s : stylesOfItem(it.key()))
                m_lexer->setColor(c, s);
            if (it.key() == text)
                m_lexer->setDefaultColor(c);
        }
    } else {
        m_editor->setFont(fontFor(false, false));
        if (m_itemColors.contains(page))
            m_editor->setPaper(colorFromBgr(m_itemColors.value(page)));
        if (m_itemColors.contains(text))
            m_editor->setColor(colorFromBgr(m_itemColors.value(text)));
    }
    m_editor->setCaretForegroundColor(colorFromBgr(m_itemColors.value(text, 0)));
    QFont numbers = fontFor(false, false);
    m_editor->send(Sci::SCI_STYLESETFONT, Sci::STYLE_LINENUMBER, numbers.family().toUtf8().constData());
    m_editor->send(Sci::SCI_STYLESETSIZEFRACTIONAL, Sci::STYLE_LINENUMBER,
                   long(std::lround(numbers.pointSizeF() * int(Sci::SC_FONT_SIZE_MULTIPLIER))));
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
        m_editor->send(Sci::SCI_SETMARGINLEFT, 0, std::clamp(value.toInt(), 0, 16) * 2);
        break;
    case EditorSetting::CaretLine:
        m_editor->setCaretLineBackgroundColor(QColor(0xE8, 0xF0, 0xFF));
        m_editor->setCaretLineVisible(value.toBool());
        break;
    case EditorSetting::CaretWidth: m_editor->setCaretWidth(std::clamp(value.toInt(), 1, 3)); break;
    case EditorSetting::TabWidth: m_editor->setTabWidth(std::clamp(value.toInt(), 1, 32)); break;
    }
}

} // namespace kestrin
