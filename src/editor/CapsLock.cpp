#include "CapsLock.h"

namespace kestrin {

std::optional<bool> capsLockAfterKey(const KeyFacts &key)
{
    if (key.nativeScanCode == 0)
        return std::nullopt;
    const bool locked = (key.nativeModifiers & NativeLockMask) != 0;
    if (key.key != Qt::Key_CapsLock)
        return locked;
    if (!key.press || key.autoRepeat)
        return std::nullopt;
    return !locked;
}

} // namespace kestrin
