#include "EditorStatusBar.h"

#include "common/Twips.h"

#include <QDate>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLibrary>
#include <QLocale>
#include <QTimer>

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

// Caps Lock lives in the X server's keyboard indicators; Qt has no API for it. libX11 is loaded at
// run time so the program builds and runs where there is no X11 at all.
struct X11Keyboard {
    using OpenDisplay = void *(*)(const char *);
    using GetIndicatorState = int (*)(void *, unsigned int, unsigned int *);
    void *display = nullptr;
    GetIndicatorState getState = nullptr;

    X11Keyboard()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        static QLibrary x11(QStringLiteral("X11"), 6);
        if (!x11.load())
            return;
        auto open = reinterpret_cast<OpenDisplay>(x11.resolve("XOpenDisplay"));
        getState = reinterpret_cast<GetIndicatorState>(x11.resolve("XkbGetIndicatorState"));
        if (open && getState)
            display = open(nullptr);
    }
    bool capsLock() const
    {
        if (!display || !getState)
            return false;
        unsigned int state = 0;
        constexpr unsigned int XkbUseCoreKbd = 0x0100;
        if (getState(display, XkbUseCoreKbd, &state) != 0)
            return false;
        return (state & 1u) != 0; // indicator 0 is Caps Lock
    }
};

} // namespace

bool EditorStatusBar::capsLockOn()
{
    static X11Keyboard keyboard;
    return keyboard.capsLock();
}

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

    m_capsTimer = new QTimer(this);
    m_capsTimer->setInterval(250);
    connect(m_capsTimer, &QTimer::timeout, this, &EditorStatusBar::refresh);
    m_capsTimer->start();
    m_midnight = new QTimer(this);
    m_midnight->setSingleShot(true);
    connect(m_midnight, &QTimer::timeout, this, [this] {
        refresh();
        scheduleMidnight();
    });
    scheduleMidnight();
    refresh();
}

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

void EditorStatusBar::refresh()
{
    showText(m_panels[2], capsLockOn() ? tr("CAPS", "Caps Lock on") : QString());
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
