#include "CharacterReferences.h"

#include <QCoreApplication>

#include <array>
#include <cstring>
#include <string>

namespace kestrin {

namespace {

// Captions are Latin-1 characters, so a caption's code point is what the reference carries.
constexpr std::array<CharacterButton, CharacterButtonCount> buttons{{
    {"\xC3\xA1", 1, 1, nullptr},  // 0 á
    {"%", 3, 7, nullptr},         // 1
    {")", 3, 6, nullptr},         // 2
    {"(", 3, 5, nullptr},         // 3
    {"#", 3, 4, nullptr},         // 4
    {QT_TRANSLATE_NOOP("CharacterReferences", "AND"), 3, 3, "&#38;"}, // 5
    {"$", 3, 2, nullptr},         // 6
    {"\"", 3, 1, nullptr},        // 7
    {"\xC3\xA2", 2, 5, nullptr},  // 8 â
    {"\xC3\x82", 2, 6, nullptr},  // 9 Â
    {"t", 2, 7, "&#355;"},        // 10: the caption stands for t with cedilla
    {"T", 2, 8, "&#222;"},        // 11
    {"s", 2, 9, "&#351;"},        // 12: s with cedilla
    {"S", 2, 10, "&#170;"},       // 13
    {"\xC3\x81", 1, 2, nullptr},  // 14 Á
    {"\xC3\xA9", 1, 3, nullptr},  // 15 é
    {"\xC3\x89", 1, 4, nullptr},  // 16 É
    {"\xC3\xB3", 1, 5, nullptr},  // 17 ó
    {"\xC3\x93", 1, 6, nullptr},  // 18 Ó
    {"\xC3\xBC", 1, 7, nullptr},  // 19 ü
    {"\xC3\x9C", 1, 8, nullptr},  // 20 Ü
    {"\xC3\xB6", 1, 9, nullptr},  // 21 ö
    {"\xC3\x96", 1, 10, nullptr}, // 22 Ö
    {"\xC3\xB5", 1, 11, nullptr}, // 23 õ
    {"\xC3\x95", 1, 12, nullptr}, // 24 Õ
    {"\xC3\xAD", 1, 13, nullptr}, // 25 í
    {"\xC3\x8D", 1, 14, nullptr}, // 26 Í
    {"\xC3\xAE", 2, 1, nullptr},  // 27 î
    {"\xC3\x8E", 2, 2, nullptr},  // 28 Î
    {"\xC3\xA3", 2, 3, nullptr},  // 29 ã
    {"\xC3\x83", 2, 4, nullptr},  // 30 Ã
    {"\xC3\x9F", 3, 8, nullptr},  // 31 ß
    {"@", 3, 9, nullptr},         // 32
    {"\xC2\xA2", 3, 10, nullptr}, // 33 ¢
    {"\xC2\xA3", 3, 11, nullptr}, // 34 £
    {"\xC2\xA7", 3, 12, nullptr}, // 35 §
    {"\xC2\xA9", 3, 13, nullptr}, // 36 ©
    {"\xC2\xAE", 3, 14, nullptr}, // 37 ®
    {"\xC2\xB1", 3, 15, nullptr}, // 38 ±
    {"\xC2\xB5", 3, 16, nullptr}, // 39 µ
    {QT_TRANSLATE_NOOP("CharacterReferences", "Replace special caracters with html code"), 0, 0, nullptr}, // 40
}};

// Button 40's letters are all U+00C0..U+00FF, i.e. 0xC3 followed by one byte 0x80..0xBF.
// replacementFor[second byte - 0x80] is the reference, or nullptr for letters left alone.
struct ReplacementTable {
    std::array<const char *, 64> text{};
    std::array<unsigned char, 64> length{};
    constexpr void set(unsigned char second, const char *reference)
    {
        text[second - 0x80] = reference;
        length[second - 0x80] = static_cast<unsigned char>(std::char_traits<char>::length(reference));
    }
};

constexpr ReplacementTable makeReplacementTable()
{
    ReplacementTable t;
    t.set(0xA1, "&#225;"); // á
    t.set(0x81, "&#193;"); // Á
    t.set(0xA9, "&#233;"); // é
    t.set(0x89, "&#201;"); // É
    t.set(0xB5, "&#245;"); // õ
    t.set(0x95, "&#213;"); // Õ
    t.set(0xBA, "&#250;"); // ú
    t.set(0x9A, "&#218;"); // Ú
    t.set(0xB3, "&#243;"); // ó
    t.set(0x93, "&#211;"); // Ó
    t.set(0xBC, "&#252;"); // ü
    t.set(0x9C, "&#220;"); // Ü
    t.set(0xB6, "&#246;"); // ö
    t.set(0x96, "&#214;"); // Ö
    t.set(0xAD, "&#237;"); // í
    t.set(0x8D, "&#205;"); // Í
    t.set(0x8E, "&#206;"); // Î
    t.set(0xAE, "&#238;"); // î
    t.set(0x82, "&#194;"); // Â
    t.set(0xA2, "&#226;"); // â
    return t;
}

constexpr ReplacementTable replacements = makeReplacementTable();

inline const char *replacementAt(const char *lead, const char *end)
{
    if (lead + 1 >= end)
        return nullptr;
    const auto second = static_cast<unsigned char>(lead[1]);
    return second >= 0x80 && second <= 0xBF ? replacements.text[second - 0x80] : nullptr;
}

} // namespace

const CharacterButton &characterButton(int index)
{
    return buttons.at(size_t(index));
}

QString characterButtonCaption(int index)
{
    return QCoreApplication::translate("CharacterReferences", characterButton(index).caption);
}

QByteArray characterReference(int index)
{
    if (index < 0 || index >= ReplaceButtonIndex)
        return {};
    const CharacterButton &b = buttons[size_t(index)];
    if (b.fixedText)
        return QByteArray(b.fixedText);
    const uint code = QString::fromUtf8(b.caption).at(0).unicode(); // captions are Latin-1
    return "&#" + QByteArray::number(code) + ';';
}

QRect characterButtonTwips(int index)
{
    if (index == ReplaceButtonIndex)
        return QRect(420, 6060, 2235, 735);
    const CharacterButton &b = characterButton(index);
    static constexpr int lefts[] = {420, 960, 1500};
    return QRect(lefts[b.column - 1], 240 + (b.row - 1) * 360, 500, 315);
}

qsizetype SpecialCharactersGrowth(const QByteArray &utf8)
{
    const char *const end = utf8.constData() + utf8.size();
    // Each match grows by its reference - 2 bytes.
    qsizetype growth = 0;
    for (const char *q = utf8.constData(); (q = static_cast<const char *>(std::memchr(q, 0xC3, size_t(end - q)))); ++q) {
        if (replacementAt(q, end)) {
            growth += qsizetype(replacements.length[static_cast<unsigned char>(q[1]) - 0x80]) - 2;
            ++q; // the second byte cannot start another letter
        }
    }
    return growth;
}

QByteArray ReplaceSpecialCharacters(const QByteArray &utf8)
{
    const char *p = utf8.constData();
    const char *const end = p + utf8.size();

    // Count first so the result is allocated once.
    const qsizetype growth = SpecialCharactersGrowth(utf8);
    if (growth == 0)
        return utf8;

    QByteArray out(utf8.size() + growth, Qt::Uninitialized);
    char *o = out.data();
    while (p < end) {
        const char *lead = static_cast<const char *>(std::memchr(p, 0xC3, size_t(end - p)));
        if (!lead) {
            std::memcpy(o, p, size_t(end - p));
            o += end - p;
            break;
        }
        const char *r = replacementAt(lead, end);
        const char *copyEnd = r ? lead : lead + 1;
        std::memcpy(o, p, size_t(copyEnd - p));
        o += copyEnd - p;
        p = copyEnd;
        if (r) {
            const size_t n = replacements.length[static_cast<unsigned char>(lead[1]) - 0x80];
            std::memcpy(o, r, n);
            o += n;
            p = lead + 2;
        }
    }
    return out;
}

} // namespace kestrin
