#pragma once
// The one implementation of an interface the program uses: the real one, or a stand-in a test
// installs (Desktop, Prompter).

namespace kestrin {

template <typename Interface>
class Swappable {
public:
    // The one in use; the real one unless a test installed its own.
    static Interface &instance() { return installed() ? *installed() : real(); }
    // Installs p (not owned); nullptr restores the real one.
    static void setInstance(Interface *p) { installed() = p; }

private:
    static Interface *&installed()
    {
        static Interface *p = nullptr;
        return p;
    }
    static Interface &real(); // specialised beside the real implementation
};

} // namespace kestrin
