#pragma once
// What a long-running process may leak, counted in ways that answer under
// Wine as well as on Windows.
//
// GDI objects: GetGuiResources(GR_GDIOBJECTS) where it answers; Wine 8
// answers 0, so every GDI handle slot (the low 16 bits of a handle index
// the process's GDI table; a handle with zero high bits matches any
// generation) is probed with GetObjectType.
// USER objects: GetGuiResources(GR_USEROBJECTS) where it answers; under Wine
// the windows of this process are enumerated (top-level and message-only
// ones with all their descendants), and every USER handle slot (0x20 + 2 *
// index) of the process's own table is probed for a menu (IsMenu) or an icon
// or cursor (DrawIconEx into a 1 x 1 bitmap).
// Private bytes: committed private memory from a VirtualQuery walk of the
// address space, and, under Wine, the process's anonymous resident memory
// from /proc/self/status (Wine's own Unix-side allocations show only there).
#include <windows.h>

#include <string>

namespace Soak {

struct Counts {
    long gdi { 0 };
    long user { 0 };
    long long privateBytes { 0 };
    long long anonymousBytes { -1 };  // -1: not available (not under Wine)
};

Counts Measure();
// How each counter was taken, for the table's heading.
std::string Routes();
// Proves the counting routes see one new object of each kind.
bool CountsAreLive(std::string& why);

}  // namespace Soak
