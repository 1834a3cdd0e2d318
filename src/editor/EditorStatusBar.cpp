#include "EditorStatusBar.h"

#include "CapsLock.h"
#include "common/Twips.h"

#include <QDate>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QKeyEvent>
#include <QAbstractNativeEventFilter>
#include <QLocale>
#include <QTimer>

#include <functional>
#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <dlfcn.h>
#endif

namespace kestrin {

namespace {

constexpr int PanelMinimumTwips = 1440; // one inch

// What each panel is, for screen readers; its name is what it shows.
const char *const PanelDescriptions[5] = {
    QT_TRANSLATE_NOOP("kestrin::EditorStatusBar", "Document path"), QT_TRANSLATE_NOOP("kestrin::EditorStatusBar", "Status"),
    QT_TRANSLATE_NOOP("kestrin::EditorStatusBar", "Caps Lock"), QT_TRANSLATE_NOOP("kestrin::EditorStatusBar", "Insert"),
    QT_TRANSLATE_NOOP("kestrin::EditorStatusBar", "Date")};

// A panel's text, read by screen readers as its name and kept in step with it.
void showText(QLabel *panel, const QString &text)
{
    if (panel->text() == text)
        return;
    panel->setText(text);
    panel->setAccessibleName(text);
}

#if QT_CONFIG(xcb)
// On X, XKB reports every change of the keyboard's state to each client that asks, whichever
// window has the focus, and Qt's xcb plugin asks on its own connection: the events pass through
// here, so the panel is right when the window comes back to the front. The state at start is asked
// once on that connection. libxcb and libxcb-xkb are the ones Qt's plugin has loaded already:
// nothing is linked that other platforms lack, and under Wayland none of this runs.
class XkbStateEvents final : public QAbstractNativeEventFilter {
public:
    explicit XkbStateEvents(std::function<void(bool)> show) : m_show(std::move(show))
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        void *xcb = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        void *xkb = ::dlopen("libxcb-xkb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        void *id = xkb ? ::dlsym(xkb, "xcb_xkb_id") : nullptr;
        auto extension = reinterpret_cast<const quint8 *(*)(void *, void *)>(xcb ? ::dlsym(xcb, "xcb_get_extension_data") : nullptr);
        auto getState = reinterpret_cast<unsigned (*)(void *, quint16)>(xkb ? ::dlsym(xkb, "xcb_xkb_get_state") : nullptr);
        auto stateReply = reinterpret_cast<quint8 *(*)(void *, unsigned, void *)>(xkb ? ::dlsym(xkb, "xcb_xkb_get_state_reply") : nullptr);
        const quint8 *reply = x11 && id && extension ? extension(x11->connection(), id) : nullptr;
        if (!reply || !reply[8]) // xcb_query_extension_reply_t: present at 8, first_event at 10
            return;
        m_firstEvent = reply[10];
        constexpr quint16 CoreKeyboard = 0x100;
        if (quint8 *state = getState && stateReply ? stateReply(x11->connection(), getState(x11->connection(), CoreKeyboard), nullptr) : nullptr) {
            m_show((state[8] & NativeLockMask) != 0); // xcb_xkb_get_state_reply_t: mods at 8
            std::free(state);
        }
    }
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        // xcb_xkb_state_notify_event_t: the XKB event, its kind (2: state notify), and the
        // effective modifiers at byte 9.
        const auto *event = static_cast<const quint8 *>(message);
        if (m_firstEvent && type == "xcb_generic_event_t" && (event[0] & 0x7f) == m_firstEvent && event[1] == 2)
            m_show((event[9] & NativeLockMask) != 0);
        return false;
    }

private:
    std::function<void(bool)> m_show;
    quint8 m_firstEvent = 0;
};
#endif

} // namespace

EditorStatusBar::EditorStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(this);
        label->setMinimumWidth(twipsToPixels(PanelMinimumTwips));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(3, 0, 3, 0);
        label->setAccessibleDescription(tr(PanelDescriptions[i]));
        label->setTextInteractionFlags(i == 0 ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
        // Panel 1 takes the room that is left: paths are long.
        addPermanentWidget(label, i == 0 ? 1 : 0);
        m_panels[size_t(i)] = label;
    }
    m_panels[2]->setAlignment(Qt::AlignCenter);
    m_panels[3]->setAlignment(Qt::AlignCenter);
    m_panels[4]->setAlignment(Qt::AlignCenter);

    // Every key typed in any of the program's windows carries the lock state.
    qApp->installEventFilter(this);
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_xkb = std::make_unique<XkbStateEvents>([this](bool on) { showCapsLock(on); });
        qApp->installNativeEventFilter(m_xkb.get());
    }
#endif
    m_midnight = new QTimer(this);
    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, [this] {
        refresh();
        scheduleMidnight();
    });
    scheduleMidnight();
    refresh();
}

EditorStatusBar::~EditorStatusBar() = default;

QString EditorStatusBar::panelText(int panel) const
{
    if (panel < 1 || panel > 5)
        return QString();
    return m_panels[size_t(panel - 1)]->text();
}

void EditorStatusBar::setPanelText(int panel, const QString &text)
{
    if (panel < 1 || panel > 5)
        return;
    showText(m_panels[size_t(panel - 1)], text);
    if (panel == 1)
        m_panels[0]->setToolTip(text);
}

void EditorStatusBar::setInsertOn(bool on)
{
    showText(m_panels[3], on ? tr("INS", "insert mode") : QString());
}

void EditorStatusBar::showCapsLock(bool on)
{
    showText(m_panels[2], on ? tr("CAPS", "Caps Lock on") : QString());
}

bool EditorStatusBar::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(e);
        if (const auto on = capsLockAfterKey({key->key(), e->type() == QEvent::KeyPress, key->isAutoRepeat(),
                                              key->nativeScanCode(), key->nativeModifiers()}))
            showCapsLock(*on);
    }
    return QStatusBar::eventFilter(watched, e);
}

void EditorStatusBar::refresh()
{
    showText(m_panels[4], QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void EditorStatusBar::scheduleMidnight()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime next(now.date().addDays(1), QTime(0, 0, 1));
    m_midnight->start(int(std::min<qint64>(now.msecsTo(next), 3600 * 1000)));
}

bool EditorStatusBar::event(QEvent *e)
{
    // The date may have changed while the machine slept.
    if (e->type() == QEvent::Show || e->type() == QEvent::WindowActivate)
        refresh();
    return QStatusBar::event(e);
}

} // namespace kestrin
