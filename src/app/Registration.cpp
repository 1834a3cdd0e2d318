#include "Registration.h"

#include "RegistrationWindows.h"
#include "RegistrationXdg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kestrin {

void RegisterDocumentTypes()
{
    try {
#if defined(Q_OS_WIN)
        WindowsRegistry registry;
        registerWindowsDocumentTypes(registry, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
                                     QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        registerXdgDocumentTypes(XdgLocations::fromEnvironment(), QCoreApplication::applicationFilePath());
#endif
    } catch (...) {
        // Registration is a courtesy to the desktop; start-up goes on whatever happened.
    }
}

} // namespace kestrin
