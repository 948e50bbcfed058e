// The runtime's default terminate handler prints the type of the exception
// that ended the program, and so links the whole name demangler (about 45 KB,
// twice: in the program and in the MP3 library). A windowed program has no
// console to print to; ending is all it can do.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

} // namespace __gnu_cxx
