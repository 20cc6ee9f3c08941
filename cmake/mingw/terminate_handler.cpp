// Linked into every Windows program in place of libstdc++'s verbose terminate handler, which
// writes the uncaught exception's demangled type to stderr: a GUI program has no stderr, and the
// demangler it drags in is some 45 KB of the program on its install disk. The program ends
// exactly as after the verbose handler's message: with abort().
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler();

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx
