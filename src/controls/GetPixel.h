#pragma once
// Reading one pixel of a drawing surface, as a colour value. Pure functions on QImage.
#include <QImage>
#include <QPointF>
#include <QtGlobal>

namespace kestrin {

// The value no pixel has: all 32 bits set.
constexpr quint32 InvalidColour = 0xFFFFFFFFu;

// The colour at (x, y) as 0x00BBGGRR, or InvalidColour where the surface has no pixel.
quint32 GetPixel(const QImage &surface, int x, int y);

// The colour under a pointer position in pixels: each coordinate to the nearest integer, ties to even.
quint32 pixelAtPointer(const QImage &surface, QPointF position);

} // namespace kestrin
