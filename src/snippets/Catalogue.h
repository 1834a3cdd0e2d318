#pragma once
// The snippet catalogue: 146 fixed entries in eight groups, each group shown as one name list on
// its own page of the side panel. Row i of a group's text arrays belongs to row i of its names.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace kestrin {

enum class SnippetGroup { Html, Php, WebHeader, Css, Ajax, Form, MySql, Table };

struct SnippetGroupData {
    SnippetGroup group;
    int page;                 // the side panel's page that shows the names
    QStringList names;
    QList<QByteArray> texts;    // the text put in place of the selection; for HTML the opening text
    QList<QByteArray> closings; // HTML only: the text after the selection (may be empty)
};

namespace Catalogue {

// Line breaks inside the texts are CR LF.
inline constexpr char LineBreak[] = "\r\n";

// The groups in the order the window's load fills them: HTML, PHP, MySQL, FORM, TABLE, CSS,
// AJAX, WEB HEADER.
const std::array<SnippetGroup, 8> &fillOrder();

// The group's names and texts, built once. The AJAX group has a name and no text: its text is
// read from the sample file at every click.
const SnippetGroupData &group(SnippetGroup g);

// The CSS texts are derived: a selector gives name, CR LF, "{", CR LF, CR LF, "}"; a property
// (name ending in a colon) gives name + value + ";".
QByteArray cssSelectorText(const QByteArray &name);
QByteArray cssPropertyText(const QByteArray &name, const QByteArray &value);

// A name as the side panel shows it: in the user's language where the name is words, as it is
// where it is code.
QString shownName(const QString &name);

// Total number of entries (146).
int entryCount();

} // namespace Catalogue

} // namespace kestrin
