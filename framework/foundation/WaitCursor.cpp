#include "foundation/WaitCursor.h"

namespace Veneer {

CWaitCursor::CWaitCursor()
{
    m_hOrigCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

CWaitCursor::~CWaitCursor()
{
    ::SetCursor(m_hOrigCursor);
}

}  // namespace Veneer
