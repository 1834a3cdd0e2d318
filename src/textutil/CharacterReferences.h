#pragma once
// The "LANGUAGE" page's control array C6: 40 buttons that insert one numeric character reference
// and button 40, which rewrites twenty accented letters of the whole document.
#include <QByteArray>
#include <QRect>
#include <QString>

namespace kestrin {

struct CharacterButton {
    const char *caption; // UTF-8
    int column;          // 1..3; 0 for button 40
    int row;             // 1..16; 0 for button 40
    const char *fixedText; // the text of buttons 5, 10-13; nullptr: derived from the caption
};

inline constexpr int CharacterButtonCount = 41;
inline constexpr int ReplaceButtonIndex = 40;

// The button at index 0..40.
const CharacterButton &characterButton(int index);
QString characterButtonCaption(int index);

// What button index (0..39) inserts: its fixed text, or "&#" + the caption's first character
// code + ";". Empty for button 40 and out-of-range indices.
QByteArray characterReference(int index);

// Geometry in twips on the page: 500 x 315 in three columns (left 420, 960, 1500), rows every
// 360 from top 240; button 40 at 420, 6060, 2235 x 735.
QRect characterButtonTwips(int index);

// Button 40: replaces each of the twenty letters á Á é É õ Õ ú Ú ó Ó ü Ü ö Ö í Í Î î Â â by its
// numeric reference, in one pass over UTF-8. Everything else (ã, ß, &, references) stays.
// Returns the input itself (shared) when none of the letters occurs.
QByteArray ReplaceSpecialCharacters(const QByteArray &utf8);
// How many bytes longer ReplaceSpecialCharacters makes utf8 (0 when nothing is replaced).
qsizetype SpecialCharactersGrowth(const QByteArray &utf8);

} // namespace kestrin
