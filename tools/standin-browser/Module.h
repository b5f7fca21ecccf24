#pragma once
#include <windows.h>

namespace Standin {

HINSTANCE ModuleInstance();
// Live objects and server locks keep the DLL loaded.
void ObjectCreated();
void ObjectDestroyed();

}  // namespace Standin
