#pragma once
// The program's texts in the desktop's language: our own catalogue from the "translations" folder
// beside the executable (the build folder and the installed program folder alike), and Qt's own for
// the standard buttons and dialogs.
#include <QLocale>

namespace kestrin {

// Installs the translators for locale's languages on the running application; with no
// translation of ours for any of them the texts stay in English, the source language.
void installTranslations(const QLocale &locale = QLocale::system());

} // namespace kestrin
