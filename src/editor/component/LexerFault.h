#pragma once
// A failed debugging check inside Scintilla's lexers, raised as an exception instead of ending
// the program (see LexerFault.cpp). Caught where an event enters the editor.
#include <exception>

namespace kestrin {

class LexerFault : public std::exception {
public:
    const char *what() const noexcept override;
};

} // namespace kestrin
