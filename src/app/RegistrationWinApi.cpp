// The real class registry; only Windows has one.
#include "RegistrationWindows.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>

namespace kestrin {

namespace {

HKEY rootKey(Registry::Root)
{
    return HKEY_CLASSES_ROOT;
}

std::wstring wide(const QString &s)
{
    return s.toStdWString();
}

} // namespace

bool WindowsRegistry::createKey(Root root, const QString &key)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(rootKey(root), wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool WindowsRegistry::setString(Root root, const QString &key, const QString &name, const QString &data)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(rootKey(root), wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = wide(data);
    const std::wstring valueName = wide(name);
    const LONG result = RegSetValueExW(handle, name.isEmpty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE *>(value.c_str()),
                                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool WindowsRegistry::deleteKey(Root root, const QString &key)
{
    return RegDeleteKeyW(rootKey(root), wide(key).c_str()) == ERROR_SUCCESS;
}

} // namespace kestrin
#endif
