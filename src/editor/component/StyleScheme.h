#pragma once
// The component's display set-up: the language, the colours and font styles of the style items,
// the font, and the settings, applied to the editor in one place so the order in which the window
// sets them does not matter.
#include "EditorTypes.h"

#include <QHash>
#include <QString>
#include <QVariant>

class QFont;

namespace kestrin {

class SciEditor;

class StyleScheme {
public:
    explicit StyleScheme(SciEditor *editor) : m_editor(editor) {}

    void setLanguage(const QString &language); // "PHP": HTML lexer with PHP, JS and CSS inside
    void setItemColor(StyleItem item, quint32 colorBGR);
    void setItemFontStyle(StyleItem item, FontStyle style);
    void setFont(const QString &family, int pixelHeight);
    void setSetting(EditorSetting setting, const QVariant &value);
    QVariant setting(EditorSetting setting) const { return m_settings.value(int(setting)); }

private:
    void apply();
    QFont font() const;
    void setStyle(int style, const QFont &font, int fontStyle, quint32 foreBgr, quint32 backBgr, bool eolFilled);

    SciEditor *m_editor;
    QHash<int, QVariant> m_settings;
    QHash<int, quint32> m_itemColors;
    QHash<int, int> m_itemFontStyles;
    QString m_fontFamily;
    int m_fontPixels = 0;
};

} // namespace kestrin
