// Rendering a control into a bitmap of its own.
#include "engine/ControlUI.h"
#include "engine/GdiHolders.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"

namespace Veneer {

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc)
{
    if (pManager == nullptr || pControl == nullptr) return nullptr;
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0 || rc.right <= 0 || rc.bottom <= 0) return nullptr;

    // The control paints at its window coordinates, so the scratch bitmap
    // reaches from the origin to rc's far corner.
    // Without a window yet, the screen stands in for the paint context (a
    // bitmap compatible with a bare memory context would be monochrome).
    CWindowDCHolder screen(nullptr);
    HDC paintDC = pManager->GetPaintDC() != nullptr ? pManager->GetPaintDC() : screen.Get();
    CMemDCHolder paintMem(paintDC);
    CBitmapHolder scratch(::CreateCompatibleBitmap(paintDC, rc.right, rc.bottom));
    if (!paintMem || !scratch) return nullptr;
    CSelectObjectScope selectScratch(paintMem.Get(), scratch.Get());
    pControl->DoPaint(paintMem.Get(), rc);

    void* bits = nullptr;
    HBITMAP section = RenderInternal::CreateBottomUpDib32(paintDC, cx, cy, &bits);
    if (section == nullptr) return nullptr;
    CMemDCHolder sectionMem(paintDC);
    if (sectionMem) {
        CSelectObjectScope selectSection(sectionMem.Get(), section);
        ::BitBlt(sectionMem.Get(), 0, 0, cx, cy, paintMem.Get(), rc.left, rc.top, SRCCOPY);
    }
    ::GdiFlush();
    return section;
}

}  // namespace Veneer
