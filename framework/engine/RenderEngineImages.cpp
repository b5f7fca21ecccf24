// Loading images from the skin's sources and drawing image strings.
#include <vector>

#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"

namespace Veneer {

using namespace RenderInternal;

namespace {

// A skin file: from the resource folder, or from the skin archive (the
// cached handle, or the archive file opened for this one read).
bool ReadSkinFile(LPCWSTR name, std::vector<BYTE>& data)
{
    CStdString path = CPaintManagerUI::GetResourcePath();
    const CStdString& archiveName = CPaintManagerUI::GetResourceZip();
    if (archiveName.IsEmpty()) {
        path += name;
        return ReadImageFile(path.GetData(), data);
    }
    path += archiveName;
    if (CPaintManagerUI::IsCachedResourceZip()) {
        return ReadImageFromArchive(CPaintManagerUI::GetResourceZipHandle(), name, data);
    }
    return ReadImageFromArchiveFile(path.GetData(), name, data);
}

}  // namespace

TImageInfo* CRenderEngine::LoadImage(STRINGorID bitmap, LPCWSTR type, DWORD mask)
{
    const LPCWSTR name = bitmap.m_lpstr;
    if (name == nullptr) return nullptr;
    const bool byId = IS_INTRESOURCE(name);

    std::vector<BYTE> data;
    if (type != nullptr) {
        ReadImageResource(CPaintManagerUI::GetResourceDll(), name, type, data);
    } else if (!byId) {
        // A numeric id without a type names no file.
        ReadSkinFile(name, data);
    }
    if (data.empty() && !byId) ReadImageFile(name, data);
    if (data.empty()) return nullptr;
    return DecodeImage(data.data(), data.size(), mask);
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
    LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    if (pManager == nullptr || hDC == nullptr) return false;
    WalkImageString(pStrImage, pStrModify, rcItem, [&](TImageStringState& state) {
        if (state.sName.IsEmpty()) return;
        const TImageInfo* image = pManager->GetImageEx(state.sName.GetData(),
            state.sType.IsEmpty() ? nullptr : state.sType.GetData(), state.dwMask);
        if (image == nullptr) return;

        // An all-zero source means "the whole image" for every image the
        // string names, so the settled rectangle is not carried over.
        RECT source = state.rcSource;
        if (source.left == 0 && source.top == 0 && source.right == 0 && source.bottom == 0) {
            source = RECT { 0, 0, image->nX, image->nY };
        }
        if (source.right > image->nX) source.right = image->nX;
        if (source.bottom > image->nY) source.bottom = image->nY;

        RECT overlap {};
        if (!::IntersectRect(&overlap, &state.rcDest, &rcItem)) return;
        if (!::IntersectRect(&overlap, &state.rcDest, &rcPaint)) return;
        if (!state.bTiledX && !state.bTiledY
            && DrawComposedNineGrid(hDC, image->hBitmap, state.rcDest, rcPaint, source, state.rcCorner,
                image->alphaChannel, state.uFade, state.bHole)) {
            return;
        }
        DrawImage(hDC, image->hBitmap, state.rcDest, rcPaint, source, state.rcCorner, image->alphaChannel,
            state.uFade, state.bHole, state.bTiledX, state.bTiledY);
    });
    return true;
}

}  // namespace Veneer
