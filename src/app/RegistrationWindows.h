#pragma once
// File-type registration in the Windows class registry (HKEY_CLASSES_ROOT), written against a
// small Registry interface so that the same algorithm runs against a recording fake in tests.
#include <QString>

namespace kestrin {

// The handful of registry operations registration needs. Every call opens and closes its own
// key; results are reported, and registration ignores them.
class Registry {
public:
    enum class Root { ClassesRoot };

    virtual ~Registry() = default;
    // Creates key with all missing parents, or opens it when it exists; then closes it.
    virtual bool createKey(Root root, const QString &key) = 0;
    // Creates or opens key and writes a string value (name empty: the key's default value).
    virtual bool setString(Root root, const QString &key, const QString &name, const QString &data) = 0;
    virtual bool deleteKey(Root root, const QString &key) = 0;
};

#ifdef Q_OS_WIN
// The real registry (wide-character API, REG_SZ values).
class WindowsRegistry final : public Registry {
public:
    bool createKey(Root root, const QString &key) override;
    bool setString(Root root, const QString &key, const QString &name, const QString &data) override;
    bool deleteKey(Root root, const QString &key) override;
};
#endif

// key, or key + "\" + subkey when a subkey is given.
bool CreateRegistryKey(Registry &registry, Registry::Root root, const QString &key, const QString &subkey = QString());
bool SetRegistryValue(Registry &registry, Registry::Root root, const QString &key, const QString &subkey,
                      const QString &valueName, const QString &data);
bool DeleteRegistryKey(Registry &registry, Registry::Root root, const QString &key);
// on: .E\ShellNew with "NullFile" = ""; off: .E\ShellNew deleted. False when any step failed.
bool SetShellNewEntry(Registry &registry, const QString &extension, bool on);
// on: Efile\QuickView with default value "*"; off: Efile\QuickView deleted. False when any step failed.
bool SetQuickViewEntry(Registry &registry, const QString &extension, bool on);
// Writes one type's keys and values; every step runs whatever the earlier ones returned.
bool RegisterDocumentType(Registry &registry, const QString &extension, const QString &description,
                          const QString &iconPath, const QString &verb, const QString &command,
                          bool shellNew, bool quickView);

// The open command for the executable <folder>\<name>.exe. The path is quoted: unquoted, a
// folder with spaces would let a program named like its first word run instead. %1 stays bare.
QString windowsOpenCommand(const QString &programFolder, const QString &programName);

// Registers the six document types for the executable <programFolder>\<programName>.exe
// (folder in native form, without a trailing separator).
void registerWindowsDocumentTypes(Registry &registry, const QString &programFolder, const QString &programName);

} // namespace kestrin
