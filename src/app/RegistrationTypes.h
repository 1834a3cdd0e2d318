#pragma once
// The six document types the program associates with itself at every start, in the order they
// are registered. Both registrars (the Windows class registry and the freedesktop.org files)
// work from this one table.
#include <QString>
#include <array>

namespace kestrin {

struct DocumentType {
    const char *extension;   // without the dot: "html"
    const char *description; // the shell's name for the type: "HTML Document"
    const char *descriptionDe; // the same in German and in Spanish, for the desktops that
    const char *descriptionEs; // show them (the freedesktop.org type database)
    const char *iconFile;    // icon in the img folder beside the executable: "htm.ico"
    const char *mimeType;    // the freedesktop.org type files of this extension have
    const char *iconName;    // icon name in the hicolor theme for that type
};

inline constexpr std::array<DocumentType, 6> documentTypes{{
    {"html", "HTML Document", "HTML-Dokument", "Documento HTML", "htm.ico", "text/html", "kestrin4-htm"},
    {"htm", "HTM Document", "HTM-Dokument", "Documento HTM", "htm.ico", "text/html", "kestrin4-htm"},
    {"php", "PHP Document", "PHP-Dokument", "Documento PHP", "php.ico", "application/x-php", "kestrin4-php"},
    {"js", "JS File", "JS-Datei", "Archivo JS", "js.ico", "application/javascript", "kestrin4-js"},
    {"css", "CSS File", "CSS-Datei", "Archivo CSS", "css.ico", "text/css", "kestrin4-css"},
    {"tpl", "TPL File", "TPL-Datei", "Archivo TPL", "tpl.ico", "text/x-kestrin-tpl", "kestrin4-tpl"},
}};

// Every type is opened with the same verb, offered in the New menu, and has no quick view.
inline constexpr const char *documentVerb = "open";
inline constexpr bool documentShellNew = true;
inline constexpr bool documentQuickView = false;

} // namespace kestrin
