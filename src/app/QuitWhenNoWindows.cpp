#include "QuitWhenNoWindows.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace kestrin {

bool QuitWhenNoWindows::anyWindowShown()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *w : widgets) {
        if (!w->isVisible())
            continue;
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Window || type == Qt::Tool || type == Qt::Dialog)
            return true;
    }
    return false;
}

bool QuitWhenNoWindows::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Hide || event->type() == QEvent::Close) && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow() && !m_checkQueued) {
        m_checkQueued = true;
        // Decide once the closing window is really gone.
        QTimer::singleShot(0, this, [this] {
            m_checkQueued = false;
            if (!anyWindowShown())
                QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kestrin
