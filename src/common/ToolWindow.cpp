#include "ToolWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace kestrin {

QFont toolWindowFont(bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void bringForward(QWidget *window)
{
    if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kestrin
