#pragma once
// The tags the editor window's formatting toolbar puts around the selection, from what the user
// chose. Pure functions; no widget.
#include <QByteArray>
#include <QString>

namespace kestrin {

struct Tags {
    QByteArray open, close;
    bool keepsSelection = true; // false: open takes the selection's place
};

// What toolbar button `button` (1-based, separators included) puts around the selection: Bold,
// Italic, Underline, Align left, Center, Align right, Line break, and with `chosen` Font face
// (the family), Font color and Color code (the colour's code, RRGGBB); nothing for the others.
Tags toolbarTags(int button, const QString &chosen = QString());

// value as a single-quoted attribute's value: & < ' and " as character references.
QByteArray attributeValue(const QString &value);

} // namespace kestrin
