#include "Catalogue.h"

#include <QCoreApplication>

namespace kestrin::Catalogue {

namespace {

#define CRLF "\r\n"

// Names that describe what a snippet is are marked for translation (the side panel shows them in
// the user's language); names that are code themselves (keywords, functions, selectors, SQL) are
// not. The texts are code and markup and are never translated.
struct Wrap {
    const char *name, *opening, *closing;
};
struct Entry {
    const char *name, *text;
};
struct CssProperty {
    const char *name, *value;
};

constexpr Wrap html[] = {
    {QT_TRANSLATE_NOOP("Catalogue", "Bold"), "<b>", "</b>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Italic"), "<i>", "</i>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Underline"), "<u>", "</u>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Strikethru"), "<s>", "</s>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Cite"), "<cite>", "</cite>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Big"), "<big>", "</big>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Small"), "<small>", "</small>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Strong"), "<strong>", "</strong>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Header1"), "<h1>", "</h1>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Header2"), "<h2>", "</h2>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Header3"), "<h3>", "</h3>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Header4"), "<h4>", "</h4>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Header5"), "<h5>", "</h5>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Font color"), "<font color='#'>", "</font>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Font size"), "<font size=''>", "</font>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Font face"), "<font face=''>", "</font>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Center"), "<center>", "</center>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Left"), "<p align='left'>", "</p>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Right"), "<p align='right'>", "</p>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Justyfied"), "<p align='justify'>", "</p>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Horizontal line"), "<hr />", ""},
    {QT_TRANSLATE_NOOP("Catalogue", "Line break"), "<br />", ""},
    {QT_TRANSLATE_NOOP("Catalogue", "Nobreak"), "<nobr>", "</nobr>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Preformatted"), "<pre>", "</pre>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Copiryght"), "&copy;", ""},
    {QT_TRANSLATE_NOOP("Catalogue", "Registered"), "&reg;", ""},
};

constexpr Entry php[] = {
    {QT_TRANSLATE_NOOP("Catalogue", "Insert function"), "function sample(in_val)" CRLF "{" CRLF CRLF "return out_val;" CRLF "}"},
    {"If", "if ($val1==$val2)" CRLF "{" CRLF CRLF "}"},
    {"Switch", "switch $varname" CRLF "{" CRLF "case result1:" CRLF CRLF "break;" CRLF "}"},
    {"While", "while($expresion)" CRLF "{" CRLF CRLF "}"},
    {"Do", "do" CRLF "{" CRLF CRLF "}" CRLF "while($expresion)"},
    {"For", "for ($a=1; $a<=12; $a++)" CRLF "{" CRLF CRLF "}"},
    {"Mysql_connect", R"~($conn=mysql_connect("$host","$name","$psw") or die ("My SQL Error: " . mysql_error());)~"},
    {"Mysql select database", R"~(mysql_select_db("database", $conn) or die ("My SQL Error: " . mysql_error());)~"},
    {"Mysql close", "mysql_close($conn);"},
    {"Mysql query", R"~($query="";)~" CRLF R"~($result=mysql_query($query, $conn) or die ("My SQL Error: " . mysql_error());)~"},
    {"Mysql num_rows", "$numrows=mysql_num_rows($result);"},
    {"Mysql fetch array",
     "while ($row=mysql_fetch_array($result, MYSQL_ASSOC))" CRLF "{" CRLF R"~($anyval=$row["field"];)~" CRLF CRLF "}"},
    {"Include", R"~(include "";)~"},
    {"Require", R"~(require "";)~"},
    {QT_TRANSLATE_NOOP("Catalogue", "Delete file"), R"~(unlink ("");)~"},
    {"Mail", R"~(mail("To,"Title,"Text",Options");)~"},
    {QT_TRANSLATE_NOOP("Catalogue", "Strip html tags"), "$out_val=strip_tags($in_val);"},
    {QT_TRANSLATE_NOOP("Catalogue", "Convert html special chars"), "$out_val=htmlspecialchars($in_val);"},
};

constexpr Entry webHeader[] = {
    {QT_TRANSLATE_NOOP("Catalogue", "xhtml header"),
     R"~(<!DOCTYPE HTML PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN">)~" CRLF
     R"~(<html xmlns="http://www.w3.org/1999/xhtml">)~" CRLF
     "<head>" CRLF
     R"~(<meta http-equiv="content-type" content="text/html; charset=iso-8859-1" />)~" CRLF
     R"~(<meta http-equiv="description" content="">)~" CRLF
     R"~(<meta http-equiv="keywords" content="">)~" CRLF
     R"~(<meta http-equiv="author" content="">)~" CRLF
     R"~(<link rel="stylesheet" type="text/css" href="sample.css" />)~" CRLF
     "<title></title>" CRLF
     R"~(<link rel="shortcut icon" href="sample.ico" />)~" CRLF
     "</head>" CRLF
     "<body>" CRLF},
    {QT_TRANSLATE_NOOP("Catalogue", "xhtml footer"), "</body>" CRLF "</html>"},
};

constexpr const char *cssSelectors[] = {
    "body", "h1", "h2", "h3", "h4", "h5", "h6", "b", "i", "u", "s", "blockquote", "sup",
    "sub", "tt", "cite", "pre", "marquee", "big", "small", "em", "strong", "address", "p",
    "table", "td", "input", "fieldset", "a:link", "a:hover", "a:active", "a:visited",
    "a:focus", "ul", "ol", "form", "textarea", "hr",
};

constexpr CssProperty cssProperties[] = {
    {"color:", "#ffffff"},
    {"background-color:", "#ffffff"},
    {"background-image:", R"~(url("../img/sample.gif"))~"},
    {"background-repeat:", "no-repeat"},
    {"background-attachment:", "fixed"},
    {"scrollbar-highlight-color:", "#ffffff"},
    {"scrollbar-face-color:", "#ffffff"},
    {"scrollbar-3dlight-color:", "#ffffff"},
    {"scrollbar-track-color:", "#ffffff"},
    {"scrollbar-shadow-color:", "#ffffff"},
    {"scrollbar-darkshadow-color:", "#ffffff"},
    {"scrollbar-arrow-color:", "#ffffff"},
    {"font-family:", "Arial"},
    {"font-style:", ""},
    {"font-weight:", "bold"},
    {"font-size:", "11px"},
    {"font-variant:", ""},
    {"letter-spacing:", ""},
    {"height:", ""},
    {"width:", ""},
    {"word-spacing:", ""},
    {"zoom:", ""},
    {"text-decoration:", "underline"},
    {"text-align:", ""},
    {"text-transform:", ""},
    {"text-indent:", ""},
    {"border-style:", "solid"},
    {"border-width:", "2"},
    {"border-color:", "#ffffff"},
    {"display:", "inline"},
    {"border-bottom-style:", ""},
    {"border-bottom-width:", ""},
    {"border-bottom-color:", "#ffffff"},
    {"border-left-style:", ""},
    {"border-left-width:", ""},
    {"border-left-color:", "#ffffff"},
    {"border-right-style:", ""},
    {"border-right-width:", ""},
    {"border-right-color:", "#ffffff"},
    {"border-top-style:", ""},
    {"border-top-width:", ""},
    {"border-top-color:", "#ffffff"},
};

constexpr Entry form[] = {
    {QT_TRANSLATE_NOOP("Catalogue", "form"), "<form method='post' action='any.php' name='Postform' enctype='multipart/form-data'>" CRLF CRLF "</form>"},
    {QT_TRANSLATE_NOOP("Catalogue", "textbox"), "<input type='textbox' value='' name='sampletext' size=40 />"},
    {QT_TRANSLATE_NOOP("Catalogue", "hidded textbox"), "<input type='textbox' value='' name='sampletext' style='display:none' />"},
    {QT_TRANSLATE_NOOP("Catalogue", "read only textbox"), "<input type='text' name='sampletext' readonly='readonly' size=40 value='100' />"},
    {QT_TRANSLATE_NOOP("Catalogue", "passwordbox"), "<input type='password' value='' name='signpsw' size=40 />"},
    {QT_TRANSLATE_NOOP("Catalogue", "combobox"),
     "<select name='sample'>" CRLF "<option value='1' selected>Sampletext</option>" CRLF
     "<option value='2' selected>Sampletext2</option>" CRLF "</select>"},
    {QT_TRANSLATE_NOOP("Catalogue", "submit"), "<input type='submit' value='OK' name='s_but' />"},
};

// Quoted so they paste into program code as strings.
constexpr Entry mySql[] = {
    {"create database", R"~("create database db")~"},
    {"create table", R"~("create table tbl(id INT not null PRIMARY KEY auto_increment, name VARCHAR(50), Comment TEXT)")~"},
    {"insert into", R"~("insert into table values('a','b','c')")~"},
    {"update", R"~("update table set val='2' where b='1'")~"},
    {"select", R"~("select * from table where any='any' order by Row ASC LIMIT 0,3")~"},
    {"replace", R"~("replace into Table values ('a','b')")~"},
    {"delete", R"~("delete from Table where row='any'")~"},
};

constexpr Entry table[] = {
    {"<table>", "<table width='100%' bgcolor='#' cellspacing='' cellpadding=''>"},
    {"<tr>", "<tr>"},
    {"<td>", "<td width='100%' bgcolor='#' valign='top'>"},
    {"<td colspan>", "<td colspan=2>"},
    {QT_TRANSLATE_NOOP("Catalogue", "Insert table"), "<table width='100%'><tr>" CRLF "<td valign='top'>" CRLF CRLF "</td></tr></table>"},
};

constexpr const char *ajaxName = QT_TRANSLATE_NOOP("Catalogue", "Ajax getHTTPObject sample");

#undef CRLF

template <size_t N>
SnippetGroupData entries(SnippetGroup g, int page, const Entry (&rows)[N])
{
    SnippetGroupData data{g, page, {}, {}, {}};
    for (const Entry &e : rows) {
        data.names.append(QString::fromUtf8(e.name));
        data.texts.append(QByteArray(e.text));
    }
    return data;
}

std::array<SnippetGroupData, 8> build()
{
    SnippetGroupData htmlGroup{SnippetGroup::Html, 0, {}, {}, {}};
    for (const Wrap &w : html) {
        htmlGroup.names.append(QString::fromUtf8(w.name));
        htmlGroup.texts.append(QByteArray(w.opening));
        htmlGroup.closings.append(QByteArray(w.closing));
    }

    SnippetGroupData css{SnippetGroup::Css, 3, {}, {}, {}};
    for (const char *name : cssSelectors) {
        css.names.append(QString::fromUtf8(name));
        css.texts.append(cssSelectorText(name));
    }
    for (const CssProperty &p : cssProperties) {
        css.names.append(QString::fromUtf8(p.name));
        css.texts.append(cssPropertyText(p.name, p.value));
    }

    SnippetGroupData ajax{SnippetGroup::Ajax, 4, {QString::fromUtf8(ajaxName)}, {}, {}};

    // Indexed by SnippetGroup.
    return {htmlGroup,
            entries(SnippetGroup::Php, 1, php),
            entries(SnippetGroup::WebHeader, 2, webHeader),
            css,
            ajax,
            entries(SnippetGroup::Form, 7, form),
            entries(SnippetGroup::MySql, 8, mySql),
            entries(SnippetGroup::Table, 9, table)};
}

} // namespace

const std::array<SnippetGroup, 8> &fillOrder()
{
    static constexpr std::array<SnippetGroup, 8> order{SnippetGroup::Html, SnippetGroup::Php, SnippetGroup::MySql,
                                                       SnippetGroup::Form, SnippetGroup::Table, SnippetGroup::Css,
                                                       SnippetGroup::Ajax, SnippetGroup::WebHeader};
    return order;
}

const SnippetGroupData &group(SnippetGroup g)
{
    static const std::array<SnippetGroupData, 8> groups = build();
    return groups[size_t(g)];
}

QByteArray cssSelectorText(const QByteArray &name)
{
    return name + LineBreak + '{' + LineBreak + LineBreak + '}';
}

QByteArray cssPropertyText(const QByteArray &name, const QByteArray &value)
{
    return name + value + ';';
}

QString shownName(const QString &name)
{
    return QCoreApplication::translate("Catalogue", name.toUtf8().constData());
}

int entryCount()
{
    int n = 0;
    for (SnippetGroup g : fillOrder())
        n += int(group(g).names.size());
    return n;
}

} // namespace kestrin::Catalogue
