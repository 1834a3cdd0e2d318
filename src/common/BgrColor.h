#pragma once
// Colour values as the program keeps them, 0x00BBGGRR, to and from Qt's colours.
#include <QColor>

namespace kestrin {

inline QColor colorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline quint32 bgrFromRgb(QRgb rgb)
{
    return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
}

} // namespace kestrin
