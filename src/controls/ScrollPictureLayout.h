#pragma once
// Twips arithmetic of the image viewer: the control's layout and its scroll-bar ranges, kept free
// of widgets so the numbers can be checked exactly. A bar counts in twips; its values are the
// 16-bit ones of the original design while the range fits 16 bits, and simply larger beyond that,
// since a photo of a few thousand pixels is already more than 32,767 twips wider than the frame.
#include <QRect>
#include <QtGlobal>
#include <optional>

namespace kestrin {

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);
// roundHalfEven, or nothing when the result does not fit a signed 32-bit integer (a bar's type).
std::optional<qint32> toInt32(double value);

struct ScrollPictureMetrics {
    static constexpr int MinimumSize = 400;     // twips, both directions
    static constexpr int BarThickness = 255;    // twips, never changed at run time
    static constexpr int DesignImageWidth = 6000;  // imgImage before anything is loaded
    static constexpr int DesignImageHeight = 4500;
};

// What one resize of the control does. When the control is below the minimum, the only effect is
// a new size for it (the next resize lays it out); otherwise the children's rectangles, in twips.
struct ScrollPictureLayout {
    std::optional<int> newWidth;   // the control must become this wide and stop
    std::optional<int> newHeight;  // the control must become this high and stop
    QRect imgFondo;
    QRect VScroll;
    QRect HScroll;
    bool laidOut() const { return !newWidth && !newHeight; }
};

// UserControl_Resize on a control of width x height twips. fondoTop is imgFondo's top (0 as designed).
ScrollPictureLayout layoutScrollPicture(int width, int height, int fondoTop = 0,
                                        int vscrollWidth = ScrollPictureMetrics::BarThickness,
                                        int hscrollHeight = ScrollPictureMetrics::BarThickness);

// One bar's settings after UpdateScrollBars.
struct ScrollBarSettings {
    qint32 maximum = 0;
    qint32 smallStep = 1;
    qint32 largeStep = 1;
    bool visible = false;
};

// The bar for a frame extent and an image extent (twips, along the bar): at its maximum the image's
// far edge meets the frame's. Nothing when the range does not fit 32 bits (no image that can be
// loaded comes near): the bar then keeps its maximum, steps and visibility.
std::optional<ScrollBarSettings> scrollBarSettings(double frameExtent, double imageExtent);

// The number of twips in one unit of a scale mode along one axis (1 twips, 2 points, 3 pixels,
// 4 characters, 5 inches, 6 millimetres, 7 centimetres); user scales (0) and unknown modes count in twips.
double twipsPerScaleUnit(int scaleMode, bool vertical);

} // namespace kestrin
