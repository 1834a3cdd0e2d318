#include "modMain.h"

#include "CommandLine.h"
#include "ProcessPolicy.h"
#include "QuitWhenNoWindows.h"
#include "Registration.h"
#include "Translations.h"
#include "common/AppTitle.h"
#include "editor/frmEdit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <dlfcn.h>
#include <unistd.h>
#define KESTRIN_X11_DISPLAY
#endif

namespace kestrin {

QString CommandLineDocument;

namespace {

QString joinedArguments(const QStringList &arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

// An X server resets when its last client leaves and drops a client still in its handshake then:
// with short X clients coming and going (a script polling for windows), Qt's own connection was
// dropped now and then, and its xcb plugin aborts. A connection of ours, held until Qt has its
// own, keeps the server from resetting; ours is retried if a reset drops it. libxcb is loaded at
// run time, as Qt's plugin loads it: nothing is linked that other platforms lack.
class DisplayHold {
public:
    // False when the X display Qt is about to use cannot be reached at all.
    bool open()
    {
#ifdef KESTRIN_X11_DISPLAY
        // A Wayland client touches no X server: on GNOME a connection would wake Xwayland.
        if (!startsOnX11(qgetenv("QT_QPA_PLATFORM"), qEnvironmentVariableIsSet("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE")))
            return true;
        m_xcb = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
        auto connect = reinterpret_cast<void *(*)(const char *, int *)>(symbol("xcb_connect"));
        auto hasError = reinterpret_cast<int (*)(void *)>(symbol("xcb_connection_has_error"));
        m_disconnect = reinterpret_cast<void (*)(void *)>(symbol("xcb_disconnect"));
        if (!connect || !hasError || !m_disconnect)
            return true; // Qt says what is missing
        constexpr int kConnectionError = 1; // XCB_CONN_ERROR: refused, or dropped in a reset
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (attempt > 0)
                ::usleep(20000);
            m_connection = connect(nullptr, nullptr);
            const int error = hasError(m_connection);
            if (error == 0)
                return true;
            m_disconnect(m_connection);
            m_connection = nullptr;
            if (error != kConnectionError)
                break;
        }
        return false;
#else
        return true;
#endif
    }
    ~DisplayHold()
    {
        if (m_connection)
            m_disconnect(m_connection);
    }

private:
#ifdef KESTRIN_X11_DISPLAY
    void *symbol(const char *name) const { return m_xcb ? ::dlsym(m_xcb, name) : nullptr; }
#endif

    void *m_xcb = nullptr;
    void *m_connection = nullptr;
    void (*m_disconnect)(void *) = nullptr;
};

} // namespace

int Main(int argc, char **argv)
{
    bool qtOption = false; // -display, -platform and the like: Qt is left to find its display
    // A start that names no known type ends at once, before any window system is touched.
    {
        QStringList raw;
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

    std::optional<DisplayHold> display(std::in_place);
    if (!qtOption && !display->open()) {
        const QByteArray name = qgetenv("DISPLAY");
        std::fprintf(stderr, "kestrin4: cannot open the display: %s\n",
                     name.isEmpty() ? "DISPLAY is not set" : ("no X server accepts connections at " + name).constData());
        return 1;
    }
    QApplication app(argc, argv);
    display.reset(); // Qt is connected: the server no longer resets
    installTranslations();
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
