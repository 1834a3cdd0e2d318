#pragma once
// File-type registration on freedesktop.org desktops, in the user's own XDG folders: a desktop
// entry, a shared-mime-info package, icons in the hicolor theme, the default-application lines
// of mimeapps.list and empty templates for the New menu. Nothing here needs a widget.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kestrin {

inline constexpr const char *kestrinDesktopId = "com.marvolis.Kestrin4.desktop";
inline constexpr const char *kestrinIconName = "kestrin4";
inline constexpr const char *kestrinMimePackage = "kestrin4.xml";

struct XdgLocations {
    QString dataHome;   // $XDG_DATA_HOME or ~/.local/share
    QString configHome; // $XDG_CONFIG_HOME or ~/.config
    QString home;       // $HOME

    // Relative or empty XDG variables are ignored, as the Base Directory rules say.
    static XdgLocations fromEnvironment();
};

// The types the desktop entry declares and is made the default application for.
QStringList registeredMimeTypes();

// One Exec argument quoted by the Desktop Entry rules (quoting, then %, then string escapes).
QString desktopExecArgument(const QString &argument);
QByteArray desktopEntryText(const QString &executable);
QByteArray mimePackageText();
// existing with Kestrin first in the [Default Applications] line of every type in mimeTypes;
// every other line is kept byte for byte, and an up-to-date file comes back unchanged.
QByteArray mergeMimeAppsList(const QByteArray &existing, const QString &desktopId, const QStringList &mimeTypes);
// The Templates folder named by user-dirs.dirs; empty when it names none or names $HOME itself
// (which is how a special folder is switched off).
QString templatesFolder(const QByteArray &userDirsText, const QString &home);
// "HTML Document.html" and so on, one per document type.
QStringList templateFileNames();

// Writes content to path through a temporary file and a rename, only when the file's bytes
// differ. A symbolic link is followed so a linked file stays linked. True when it wrote.
bool writeFileIfDifferent(const QString &path, const QByteArray &content);

struct XdgRegistrationResult {
    QStringList written;      // files created or replaced
    QStringList toolsStarted; // database tools started, each as "program argument"
};

// Registers the six types for executable (absolute path). Failures are skipped: the files that
// can be written are written, and the database tools run (through Desktop) only for a folder
// where something changed or whose cache is older than our file.
XdgRegistrationResult registerXdgDocumentTypes(const XdgLocations &locations, const QString &executable);

} // namespace kestrin
