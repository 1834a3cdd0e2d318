#include "LexerFault.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestrin {

const char *LexerFault::what() const noexcept { return "a debugging check of Scintilla's lexer failed"; }

} // namespace kestrin

// Debian builds QScintilla with Scintilla's debugging checks left in, and a few of its HTML
// lexer's fail on ordinary text: "Q&A<!-- -->" or "&<!" ends the program there, with the user's
// unsaved work. Those checks guard a case the lexer's release code skips anyway. This definition
// takes the place of the C library's for the whole process: a failed check in Scintilla's lexers
// becomes a LexerFault, which the editor widget catches (that document's colouring stops; its
// text, undo and everything else stay); any other failed check ends the program as before, with
// the C library's message.
extern "C" [[noreturn]] void __assert_fail(const char *assertion, const char *file, unsigned int line,
                                           const char *function)
{
    if (std::strstr(file, "scintilla/lexlib/") || std::strstr(file, "scintilla/lexers/"))
        throw kestrin::LexerFault();
    std::fprintf(stderr, "%s: %s:%u: %s: Assertion `%s' failed.\n", program_invocation_short_name, file, line,
                 function, assertion);
    std::abort();
}
