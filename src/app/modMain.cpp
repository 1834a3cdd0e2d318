#include "modMain.h"

#include "ProcessPolicy.h"
#include "QuitWhenNoWindows.h"
#include "Registration.h"
#include "common/AppTitle.h"
#include "editor/frmEdit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace kestrin {

QString CommandLineDocument;

namespace {

QString joinedArguments(const QStringList &arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

} // namespace

int Main(int argc, char **argv)
{
    // A start that names no known type ends at once, before any window system is touched.
    {
        QStringList raw;
        bool qtOption = false;
        for (int i = 0; i < argc; ++i) {
            raw << QString::fromLocal8Bit(argv[i]);
            if (i > 0 && argv[i][0] == '-')
                qtOption = true;
        }
        const QString line = joinedArguments(raw);
        if (!qtOption && !line.isEmpty() && !namesKnownDocumentType(line))
            return 0;
        // The process's policy, set once here, before the first document-sized block.
        applyHeapPolicy();
        // Started before Qt, so that reading the file into the kernel's cache overlaps the
        // building of the window.
        if (!qtOption && !line.isEmpty())
            prefetchDocument(commandLineDocumentPath(line, QDir::currentPath()));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(AppTitle));
    // Lets Wayland compositors match the window to its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.marvolis.Kestrin4"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(KESTRIN_VERSION_MAJOR)
                                            .arg(KESTRIN_VERSION_MINOR)
                                            .arg(KESTRIN_VERSION_PATCH));
    const QString line = joinedArguments(QApplication::arguments());
    if (!line.isEmpty()) {
        if (!namesKnownDocumentType(line))
            return 0;
        CommandLineDocument = commandLineDocumentPath(line, QDir::currentPath());
        // Read while the window is built: on two cores the read costs the start nothing.
        prefetchDocument(CommandLineDocument);
    }
    // Tool windows have no owner; the process lives until the last window of any kind closes.
    app.setQuitOnLastWindowClosed(false);
    QuitWhenNoWindows quitPolicy;
    app.installEventFilter(&quitPolicy);
    frmEdit *window = new frmEdit({CommandLineDocument, [] { RegisterDocumentTypes(); }});
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}

} // namespace kestrin
