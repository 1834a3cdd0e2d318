#pragma once

#include "editor/component/CodeEdit.h"

#include <ScintillaEditBase.h>

namespace kestrin::test {

// The engine's own answer, for what the component does not show through its interface.
inline long send(const CodeEdit &e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return static_cast<ScintillaEditBase *>(e.editorWidget())->send(msg, w, l);
}

// A repeatable sequence of numbers below n.
struct Random {
    quint32 seed;
    quint32 operator()(quint32 n) { seed = seed * 1103515245u + 12345u; return (seed >> 8) % n; }
};

} // namespace kestrin::test
