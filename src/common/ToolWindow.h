#pragma once
// What the tool windows (the colour chooser, the multi-file replace window) share: one instance
// each, shown modeless and without owner, centred when first shown, in the design's font.
#include <QFont>
#include <QPointer>
#include <QWidget>

namespace kestrin {

// The design's "MS Sans Serif" 8.25 pt, through its metric-compatible stand-in.
QFont toolWindowFont(bool bold);

// Centres window's frame on its screen (the primary one before it has a screen).
void centreOnScreen(QWidget *window);

// Shows window modeless, or brings it forward when it is open.
void bringForward(QWidget *window);

// The one shared instance of the tool window W while it exists; with create, made on first use
// and again after it was closed (the windows delete themselves on close).
template <typename W>
W *sharedToolWindow(bool create)
{
    static QPointer<W> window;
    if (!window && create)
        window = new W;
    return window.data();
}

} // namespace kestrin
