#pragma once
// Folder and volume arithmetic behind the replace window's drive, folder and file lists. No
// widget: the lists only show what these return.
#include <QString>
#include <QStringList>

namespace kestrin {

// The pattern the file list starts with.
inline QString webSourcePattern() { return QStringLiteral("*.htm;*.html;*.php;*.tpl;*.css;*.js"); }

// The list entry for fileName in folder: a folder that already ends with the separator (a root
// such as "/") is followed directly by the name; any other gets "/" first.
QString listEntry(const QString &folder, const QString &fileName);

// The folder and its ancestors, root first: "/home/ann" gives "/", "/home", "/home/ann".
QStringList folderChain(const QString &folder);

// The last path component as a folder list shows it; the root shows as itself.
QString folderDisplayName(const QString &folder);

// The volume (longest mount root that contains folder) among roots.
QString volumeOf(const QStringList &roots, const QString &folder);

// Where the folder list goes when volume root is chosen: the current folder when it lies on
// that volume, else the volume's root.
QString folderOnVolume(const QStringList &roots, const QString &root, const QString &currentFolder);

// "/" first, then the other mounted, ready file systems, each once, in path order.
QStringList mountedVolumeRoots();

// The names of the files in folder that match the ";"-separated pattern (case-insensitive, as
// the file list always matched), hidden files left out, in name order.
QStringList matchingFiles(const QString &folder, const QString &pattern);

// The names of folder's subfolders, hidden ones left out, in name order.
QStringList subfolderNames(const QString &folder);

// Why path could not be replaced in place now (read-only, immutable, read-only file system, no
// permission), in words; empty when it can. Checked before each save of a run, because an atomic
// rename would otherwise replace a file the user made read-only.
QString writeProblem(const QString &path);

} // namespace kestrin
