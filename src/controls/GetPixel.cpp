#include "GetPixel.h"

#include "ScrollPictureLayout.h"
#include "common/BgrColor.h"

#include <cmath>

namespace kestrin {

quint32 GetPixel(const QImage &surface, int x, int y)
{
    if (surface.isNull() || !surface.valid(x, y))
        return InvalidColour;
    const QRgb rgb = surface.pixel(x, y);
    return bgrFromRgb(rgb);
}

quint32 pixelAtPointer(const QImage &surface, QPointF position)
{
    const double x = roundHalfEven(position.x());
    const double y = roundHalfEven(position.y());
    // Far-off positions (a drag well outside the window) have no pixel either.
    if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > 1e9 || std::abs(y) > 1e9)
        return InvalidColour;
    return GetPixel(surface, int(x), int(y));
}

} // namespace kestrin
