#pragma once
// The AJAX entry's text, read from ajax_sampl.dat in the program's folder at every click.
#include <QByteArray>
#include <QString>

namespace kestrin {

inline constexpr char AjaxSampleFileName[] = "ajax_sampl.dat";
inline constexpr char SampleMissingText[] = "Sample missing";

// The sample's text from the file's decoded text: a line ends at CR or at CR LF, a lone LF stays
// inside its line, and every line, the last included, is followed by a line break, which the
// insertion turns into the document's. An empty file gives an empty text.
QByteArray ajaxSampleText(const QByteArray &text);

struct AjaxSample {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    QByteArray text; // UTF-8; "Sample missing" when the file is absent
};

// Looks the file up in folder as an ordinary file (a folder, a hidden entry or a device of that
// name does not count) and reads it as any document is decoded (a byte-order mark, else UTF-8,
// else Windows-1252). A file that exists but cannot be read, or is not text, gives Unreadable
// and no text.
AjaxSample readAjaxSample(const QString &folder);

} // namespace kestrin
