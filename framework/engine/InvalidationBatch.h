#pragma once
// Opens an invalidation batch on a paint manager for the life of a scope: a
// container's SetPos holds one while it places its subtree, so the whole pass
// ends in a single invalidation of the window.
#include "engine/PaintManagerUI.h"

namespace Veneer {

class CInvalidationBatch {
public:
    explicit CInvalidationBatch(CPaintManagerUI* pManager) : m_pManager(pManager)
    {
        if (m_pManager != nullptr) m_pManager->BeginInvalidationBatch();
    }
    ~CInvalidationBatch()
    {
        if (m_pManager != nullptr) m_pManager->EndInvalidationBatch();
    }
    CInvalidationBatch(const CInvalidationBatch&) = delete;
    CInvalidationBatch& operator=(const CInvalidationBatch&) = delete;

private:
    CPaintManagerUI* m_pManager { nullptr };
};

}  // namespace Veneer
