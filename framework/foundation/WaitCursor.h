#pragma once
#include "foundation/VeneerApi.h"
// Shows the system wait cursor for its lifetime.
#include <windows.h>

namespace Veneer {

class VENEER_API CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hOrigCursor { nullptr };
};

}  // namespace Veneer
