#pragma once
// Transforms of a selection or of the whole document. Text is UTF-8 bytes in and out; every
// character these routines look for is ASCII, so byte comparisons are character comparisons.
#include <QByteArray>

namespace kestrin {

// Removes everything that looks like a tag: a "<" and all after it up to the next ">" go, and
// every ">" goes too, whether it closed a tag or stood alone. A "<" with no later ">" drops the
// rest of the text. '<p>a > b</p>' gives 'a  b'; 'x <b unclosed' gives 'x '.
QByteArray StripTags(const QByteArray &s);

// The link for a selected address, s taken exactly as selected (nothing trimmed):
// any "@" anywhere gives a mailto link; else a text starting with "http" in any case links to
// itself; else "http://" is put in front in the href only. Any length is scanned whole.
QByteArray AddressToLink(const QByteArray &s);

// "<!--" + s + "-->" and "/*" + s + "*/".
QByteArray HtmlBlockComment(const QByteArray &s);
QByteArray PhpBlockComment(const QByteArray &s);

} // namespace kestrin
