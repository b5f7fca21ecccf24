// Linked into the client executable alone. The statically linked GNU C++
// runtime's default terminate handler prints the escaping exception's
// demangled type name: it drags the whole demangler (about 46 KB) into a GUI
// program that has no console to print to. Ending the process is all a
// terminate needs here; defining the handler keeps the runtime's own (and
// the demangler) out of the link.
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
#endif
