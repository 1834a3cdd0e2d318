#pragma once
// A colour swatch: a plain widget filled with one colour.
#include <QPalette>
#include <QWidget>

namespace kestrin {

// Fills the swatch with colour. A toolbar gives the widgets on it the Button background role, so a
// colour set for Window alone never shows there: the role is set along with the colour.
inline void paintSwatch(QWidget *swatch, const QColor &colour)
{
    swatch->setAutoFillBackground(true);
    swatch->setBackgroundRole(QPalette::Window);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
}

} // namespace kestrin
