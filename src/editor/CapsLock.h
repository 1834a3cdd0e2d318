#pragma once
// Caps Lock as the keyboard events tell it: no display server is asked.
#include <QtCore/qnamespace.h>

#include <optional>

namespace kestrin {

// The Lock modifier's bit in the state a key event carries from the platform (nativeModifiers):
// the X core state on xcb, xkb's modifier mask on Wayland; both put Lock in the second bit.
inline constexpr quint32 NativeLockMask = 0x2;

struct KeyFacts {
    int key = 0;            // Qt::Key
    bool press = true;
    bool autoRepeat = false;
    quint32 nativeScanCode = 0; // 0: made by a program, not by the platform
    quint32 nativeModifiers = 0;
};

// Whether Caps Lock is in effect after the key, or nothing where the event cannot tell. The state
// an event carries is the state before it: for any other key that is the state it was typed in,
// the Caps Lock key's own press toggles it, and its release may still carry a lock that the
// release itself takes off.
std::optional<bool> capsLockAfterKey(const KeyFacts &key);

} // namespace kestrin
