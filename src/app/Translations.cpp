#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kestrin {

void installTranslations(const QLocale &locale)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    auto *own = new QTranslator(QCoreApplication::instance());
    if (!own->load(locale, QStringLiteral("kestrin4"), QStringLiteral("_"), folder)) {
        delete own;
        return;
    }
    QCoreApplication::installTranslator(own);
    // Qt's buttons follow the language our texts are in, not any other of the desktop's: a box
    // with German buttons round an English question would read worse than all English.
    const QLocale language(own->language());
    auto *qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(language, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}

} // namespace kestrin
