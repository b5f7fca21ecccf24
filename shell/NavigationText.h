#pragma once
// Reading the arguments the browser hands to its navigation events.
#include <windows.h>
#include <exdisp.h>

#include "foundation/StdString.h"

// The address of a navigation event as text; empty when it carries none.
Veneer::CStdString NavigationAddress(const VARIANT* url);

// True when `source` is `browser` itself, not one of its inner frames.
bool IsTopLevelNavigation(IDispatch* source, IWebBrowser2* browser);
