#pragma once
// The command line: classification, long-path rebuilding. No widget.
#include <QByteArray>
#include <QString>

namespace kestrin {

// Looks up exactly one path on disk and yields the entry's own name (long form, case as stored),
// or an empty string when there is no such entry. Injected so tests can fake a disk.
class DirectorySearch {
public:
    virtual ~DirectorySearch() = default;
    virtual QString entryName(const QString &path) const = 0;
};

// The real disk: exact name first, then a case-insensitive match among the parent's entries
// (which is what a case-insensitive file system stores).
class DiskDirectorySearch final : public DirectorySearch {
public:
    QString entryName(const QString &path) const override;
};

// True when the command line's last characters name one of the six document types.
// Lines of 1 to 5 characters name none.
bool namesKnownDocumentType(const QString &commandLine);

// Rebuilds path with the long name of every component. Windows form: "C:\..." keeps the drive
// as given and separates with "\"; otherwise (POSIX) components are separated by "/".
// A component that does not exist keeps the name it was given.
QString LongPathName(const QString &path, const DirectorySearch &search = DiskDirectorySearch());

// The document path a known command line stands for: surrounding double quotes removed, a
// relative path resolved against currentFolder, then LongPathName.
QString commandLineDocumentPath(const QString &commandLine, const QString &currentFolder,
                                const DirectorySearch &search = DiskDirectorySearch());

// Whether Qt's first choice of platform will be X (xcb), from QT_QPA_PLATFORM (its first entry
// decides), WAYLAND_DISPLAY and XDG_SESSION_TYPE, as Qt 6 chooses when QT_QPA_PLATFORM is unset:
// Wayland whenever a Wayland display or session is announced, X otherwise.
bool startsOnX11(const QByteArray &qpaPlatform, bool waylandDisplaySet, const QByteArray &sessionType);

} // namespace kestrin
