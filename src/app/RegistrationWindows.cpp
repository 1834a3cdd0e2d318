#include "RegistrationWindows.h"

#include "RegistrationTypes.h"

namespace kestrin {

namespace {

constexpr Registry::Root classesRoot = Registry::Root::ClassesRoot;

QString joinKey(const QString &key, const QString &subkey)
{
    return subkey.isEmpty() ? key : key + QLatin1Char('\\') + subkey;
}

} // namespace

bool CreateRegistryKey(Registry &registry, Registry::Root root, const QString &key, const QString &subkey)
{
    return registry.createKey(root, joinKey(key, subkey));
}

bool SetRegistryValue(Registry &registry, Registry::Root root, const QString &key, const QString &subkey,
                      const QString &valueName, const QString &data)
{
    return registry.setString(root, joinKey(key, subkey), valueName, data);
}

bool DeleteRegistryKey(Registry &registry, Registry::Root root, const QString &key)
{
    return registry.deleteKey(root, key);
}

bool SetShellNewEntry(Registry &registry, const QString &extension, bool on)
{
    const QString key = QLatin1Char('.') + extension;
    if (!on)
        return DeleteRegistryKey(registry, classesRoot, joinKey(key, QStringLiteral("ShellNew")));
    const bool created = CreateRegistryKey(registry, classesRoot, key, QStringLiteral("ShellNew"));
    const bool written = SetRegistryValue(registry, classesRoot, key, QStringLiteral("ShellNew"),
                                          QStringLiteral("NullFile"), QString());
    return created && written;
}

bool SetQuickViewEntry(Registry &registry, const QString &extension, bool on)
{
    const QString key = extension + QStringLiteral("file");
    if (!on)
        return DeleteRegistryKey(registry, classesRoot, joinKey(key, QStringLiteral("QuickView")));
    const bool created = CreateRegistryKey(registry, classesRoot, key, QStringLiteral("QuickView"));
    const bool written = SetRegistryValue(registry, classesRoot, key, QStringLiteral("QuickView"), QString(),
                                          QStringLiteral("*"));
    return created && written;
}

bool RegisterDocumentType(Registry &registry, const QString &extension, const QString &description,
                          const QString &iconPath, const QString &verb, const QString &command,
                          bool shellNew, bool quickView)
{
    const QString extensionKey = QLatin1Char('.') + extension;
    const QString classKey = extension + QStringLiteral("file");
    const QString shell = QStringLiteral("Shell");
    const QString verbKey = shell + QLatin1Char('\\') + verb;
    const QString commandKey = verbKey + QStringLiteral("\\command");

    // Results are not read: a key that cannot be written leaves the later steps to run anyway.
    CreateRegistryKey(registry, classesRoot, extensionKey);
    CreateRegistryKey(registry, classesRoot, classKey);
    CreateRegistryKey(registry, classesRoot, classKey, QStringLiteral("DefaultIcon"));
    CreateRegistryKey(registry, classesRoot, classKey, shell);
    CreateRegistryKey(registry, classesRoot, classKey, verbKey);
    CreateRegistryKey(registry, classesRoot, classKey, commandKey);

    SetRegistryValue(registry, classesRoot, extensionKey, QString(), QString(), classKey);
    SetRegistryValue(registry, classesRoot, classKey, QString(), QString(), description);
    SetRegistryValue(registry, classesRoot, classKey, QStringLiteral("DefaultIcon"), QString(), iconPath);
    SetRegistryValue(registry, classesRoot, classKey, shell, QString(), verb);
    SetRegistryValue(registry, classesRoot, classKey, verbKey, QString(), QLatin1Char('&') + verb);
    SetRegistryValue(registry, classesRoot, classKey, commandKey, QString(), command);

    SetShellNewEntry(registry, extension, shellNew);
    SetQuickViewEntry(registry, extension, quickView);
    return true;
}

QString windowsOpenCommand(const QString &programFolder, const QString &programName)
{
    return QLatin1Char('"') + programFolder + QLatin1Char('\\') + programName + QStringLiteral(".exe\" %1");
}

void registerWindowsDocumentTypes(Registry &registry, const QString &programFolder, const QString &programName)
{
    const QString command = windowsOpenCommand(programFolder, programName);
    for (const DocumentType &type : documentTypes) {
        RegisterDocumentType(registry, QLatin1String(type.extension), QLatin1String(type.description),
                             programFolder + QStringLiteral("\\img\\") + QLatin1String(type.iconFile),
                             QLatin1String(documentVerb), command, documentShellNew, documentQuickView);
    }
}

} // namespace kestrin
