#pragma once
// Design values stay in twips; widgets get round(twips / 15) logical pixels.
#include <QRect>
#include <cmath>

namespace kestrin {

constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(double twips)
{
    // Half away from zero is what a designer expects of a pixel grid.
    return twips >= 0 ? int(twips / TwipsPerPixel + 0.5) : -int(-twips / TwipsPerPixel + 0.5);
}
constexpr int pixelsToTwips(int pixels) { return pixels * TwipsPerPixel; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace kestrin
