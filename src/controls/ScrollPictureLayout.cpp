#include "ScrollPictureLayout.h"

#include "common/Twips.h"

#include <cmath>
#include <limits>

namespace kestrin {

double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

std::optional<qint32> toInt32(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(rounded);
}

ScrollPictureLayout layoutScrollPicture(int width, int height, int fondoTop, int vscrollWidth, int hscrollHeight)
{
    ScrollPictureLayout layout;
    // Growing one side is a resize of its own; the layout happens when that resize arrives.
    if (width < ScrollPictureMetrics::MinimumSize) {
        layout.newWidth = ScrollPictureMetrics::MinimumSize;
        return layout;
    }
    if (height < ScrollPictureMetrics::MinimumSize) {
        layout.newHeight = ScrollPictureMetrics::MinimumSize;
        return layout;
    }
    const int fondoWidth = width - vscrollWidth;
    const int fondoHeight = height - fondoTop - hscrollHeight;
    layout.imgFondo = QRect(0, fondoTop, fondoWidth, fondoHeight);
    layout.VScroll = QRect(width - vscrollWidth, fondoTop, vscrollWidth, fondoHeight);
    layout.HScroll = QRect(0, height - hscrollHeight, fondoWidth, hscrollHeight);
    return layout;
}

std::optional<ScrollBarSettings> scrollBarSettings(double frameExtent, double imageExtent)
{
    // The same numbers as 16-bit arithmetic gives wherever that fits; a wider range is not cut
    // short, so every pixel of a large photo can be scrolled into view.
    const auto maximum = toInt32(frameExtent > imageExtent ? 0.0 : imageExtent - frameExtent);
    if (!maximum)
        return std::nullopt;
    ScrollBarSettings bar;
    bar.maximum = *maximum;
    // Smaller than the maximum, so these always convert.
    bar.smallStep = toInt32(*maximum / 20.0 + 1).value_or(1);
    bar.largeStep = toInt32(*maximum / 5.0 + 1).value_or(1);
    bar.visible = *maximum > 0;
    return bar;
}

double twipsPerScaleUnit(int scaleMode, bool vertical)
{
    switch (scaleMode) {
    case 2: return 20.0;                     // points
    case 3: return TwipsPerPixel;            // pixels
    case 4: return vertical ? 240.0 : 120.0; // characters
    case 5: return 1440.0;                   // inches
    case 6: return 1440.0 / 25.4;            // millimetres
    case 7: return 1440.0 / 2.54;            // centimetres
    default: return 1.0;                     // twips (1), and user scales without a scale of their own
    }
}

} // namespace kestrin
