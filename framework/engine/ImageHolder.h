#pragma once
// Owns a loaded image record and frees it the one right way
// (CRenderEngine::FreeImage: the bitmap, then the record).
#include <windows.h>

#include "engine/RenderEngine.h"

namespace Veneer {

class CImageHolder {
public:
    explicit CImageHolder(TImageInfo* pImage = nullptr) : m_pImage(pImage) {}
    ~CImageHolder() { CRenderEngine::FreeImage(m_pImage); }
    CImageHolder(const CImageHolder&) = delete;
    CImageHolder& operator=(const CImageHolder&) = delete;

    TImageInfo* Get() const { return m_pImage; }
    TImageInfo* operator->() const { return m_pImage; }
    explicit operator bool() const { return m_pImage != nullptr; }

    void Reset(TImageInfo* pImage = nullptr)
    {
        if (pImage == m_pImage) return;
        CRenderEngine::FreeImage(m_pImage);
        m_pImage = pImage;
    }
    // Gives the whole record away.
    TImageInfo* Release()
    {
        TImageInfo* pImage = m_pImage;
        m_pImage = nullptr;
        return pImage;
    }
    // Gives the bitmap to a new owner; only the record is freed here.
    HBITMAP TakeBitmap()
    {
        if (m_pImage == nullptr) return nullptr;
        HBITMAP hBitmap = m_pImage->hBitmap;
        m_pImage->hBitmap = nullptr;
        return hBitmap;
    }

private:
    TImageInfo* m_pImage { nullptr };
};

}  // namespace Veneer
