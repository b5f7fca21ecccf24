#pragma once
// A guard-page heap for the fuzz executables, in the spirit of a full page
// heap: every block ends exactly where a no-access page begins, and freed
// blocks are decommitted and their addresses not reused until the arena has
// been gone round once, so a one-byte overrun, a read past the end or a use
// after free faults at the faulting instruction.
//
// Linked into an executable it replaces the global operator new and delete;
// with the linker options -Wl,--wrap=malloc,--wrap=free,--wrap=realloc,
// --wrap=calloc it also takes every C allocation made by the code linked in
// (the markup parser's buffers, zlib's state, the image decoder's pixels).
// The product is untouched. VENEER_GUARD_HEAP=off in the environment turns
// the protection off (everything goes to the C runtime's heap), so a test
// can show what the protection catches.
#include <windows.h>

#include <cstddef>

namespace GuardHeap {

bool IsProtecting();
// True for an address inside the guard arena (a fault there is a heap fault).
bool InArena(const void* address);
// "overrun past the end of a live block" or "use after free".
const char* DescribeFault(const void* address);
// Allocations served so far (for the tests of the heap itself).
size_t AllocationCount();
// The largest single block the arena serves; larger requests fail like an
// exhausted heap.
constexpr size_t kLargestBlock = 64u << 20;
// Raised when a free finds its block's header damaged (an underrun or a double free).
constexpr DWORD kMisuseException = 0xE0475548u;

}  // namespace GuardHeap
