#pragma once
// The shift state of key and mouse events as the program's handlers receive it: 1 Shift, 2 Ctrl,
// 4 Alt, added.
#include <QtCore/qnamespace.h>

namespace kestrin {

enum ShiftMask { ShiftMaskShift = 1, ShiftMaskCtrl = 2, ShiftMaskAlt = 4 };

inline int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? ShiftMaskShift : 0) | (m & Qt::ControlModifier ? ShiftMaskCtrl : 0)
           | (m & Qt::AltModifier ? ShiftMaskAlt : 0);
}

} // namespace kestrin
