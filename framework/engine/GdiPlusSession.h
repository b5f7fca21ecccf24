#pragma once
// GDI+ for the whole process: started once, on first use, and shut down at
// process exit, instead of once per label.
namespace Veneer {

// True when GDI+ is running; safe to call any number of times.
bool EnsureGdiPlus();

}  // namespace Veneer
