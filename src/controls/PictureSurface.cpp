#include "PictureSurface.h"

#include <QPaintEvent>
#include <QPainter>

namespace kestrin {

PictureSurface::PictureSurface(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PictureSurface::setSurface(const QImage &image)
{
    m_surface = image;
    update();
}

void PictureSurface::paintEvent(QPaintEvent *event)
{
    if (m_surface.isNull())
        return;
    // Only the exposed part: a large photo repaints in strips while it scrolls.
    const QRect area = event->rect() & m_surface.rect();
    if (area.isEmpty())
        return;
    QPainter painter(this);
    painter.drawImage(area.topLeft(), m_surface, area);
}

} // namespace kestrin
