#pragma once
// The AJAX entry's text, read from ajax_sampl.dat in the program's folder at every click.
#include <QByteArray>
#include <QString>

namespace kestrin {

inline constexpr char AjaxSampleFileName[] = "ajax_sampl.dat";
inline constexpr char SampleMissingText[] = "Sample missing";

// The sample's text from the file's bytes, read line by line: a line ends at CR or at CR LF, a
// lone LF stays inside its line, and every line, the last included, is followed by CR LF.
// An empty file gives an empty text.
QByteArray ajaxSampleText(const QByteArray &fileBytes);

struct AjaxSample {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    QByteArray text; // UTF-8 with CR LF line breaks; "Sample missing" when the file is absent
};

// Looks the file up in folder as an ordinary file (a folder, a hidden entry or a device of that
// name does not count) and reads it. The file is in the system's encoding; it is converted to
// UTF-8 unless it already is valid UTF-8. A file that exists but cannot be opened or read gives
// Unreadable and no text.
AjaxSample readAjaxSample(const QString &folder);

} // namespace kestrin
