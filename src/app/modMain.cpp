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
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <optional>
#include <fcntl.h>
#include <unistd.h>
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <dlfcn.h>
#include <unistd.h>
#define KESTRIN_X11_DISPLAY
#endif

namespace kestrin {

namespace {

// The document the command line (the arguments after the program's name joined by single
// spaces) names, empty for none, with the system asked to start reading it; nullopt when the
// line names no known type, and the start ends there.
std::optional<QString> commandLineDocument(const QStringList &arguments)
{
    const QString line = arguments.mid(1).join(QLatin1Char(' '));
    if (line.isEmpty())
        return QString();
    if (!namesKnownDocumentType(line))
        return std::nullopt;
    const QString path = commandLineDocumentPath(line, QDir::currentPath());
    // So that reading the file into the kernel's cache overlaps the building of the window.
    prefetchDocument(path);
    return path;
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

// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, Ctrl+C) end the program without a question,
// the unsaved changes left in their journal for the next start. The handler only writes the
// signal's number to a pipe; the window acts on it in the event loop, where Qt may be called.
int signalPipe[2] = {-1, -1};

void onEndSignal(int signo)
{
    const char c = char(signo);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

void endOnSignals(QApplication &app, frmEdit *window)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [target = QPointer<frmEdit>(window)] {
        char signo = 0;
        if (::read(signalPipe[0], &signo, 1) != 1)
            return;
        if (target)
            target->endWithoutQuestion(128 + signo);
        else
            QCoreApplication::exit(128 + signo);
    });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signo, &action, nullptr);
}

} // namespace

int Main(int argc, char **argv)
{
    // A start that names no known type ends at once, before any window system is touched; with
    // an option of Qt's (-display, -platform and the like) the line is known once Qt took its own.
    QStringList raw;
    bool qtOption = false;
    for (int i = 0; i < argc; ++i) {
        raw << QString::fromLocal8Bit(argv[i]);
        qtOption = qtOption || (i > 0 && argv[i][0] == '-');
    }
    std::optional<QString> document;
    if (!qtOption && !(document = commandLineDocument(raw)))
        return 0;
    // The process's policy, set once here, before the first document-sized block.
    applyHeapPolicy();

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
    if (!document && !(document = commandLineDocument(QApplication::arguments())))
        return 0;
    // Tool windows have no owner; the process lives until the last window of any kind closes.
    app.setQuitOnLastWindowClosed(false);
    QuitWhenNoWindows quitPolicy;
    app.installEventFilter(&quitPolicy);
    frmEdit *window = new frmEdit({*document, [] { RegisterDocumentTypes(); }});
    window->setAttribute(Qt::WA_DeleteOnClose);
    endOnSignals(app, window);
    window->show();
    return app.exec();
}

} // namespace kestrin
