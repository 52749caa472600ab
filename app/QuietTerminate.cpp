// Linked into every Windows program, the console checker too. Only a fault reaches terminate.
// The library's own handler prints demangled type names, which drags a formatted-printing
// library into the executable; this one keeps the file small.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
