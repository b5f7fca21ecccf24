#pragma once
// Shows the system wait cursor for its lifetime.
#include <windows.h>

namespace Veneer {

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hOrigCursor { nullptr };
};

}  // namespace Veneer
