#pragma once
// Small owners for the GDI handles the framework creates itself, so that no
// early return leaks one. Each is move-only; Release() hands the handle out.
#include <windows.h>

namespace Veneer {

// HBITMAP, HFONT, HBRUSH, HPEN, HRGN: released with DeleteObject.
template <typename THandle>
class CGdiObjectHolder {
public:
    CGdiObjectHolder() = default;
    explicit CGdiObjectHolder(THandle handle) : m_handle(handle) {}
    ~CGdiObjectHolder() { Reset(); }
    CGdiObjectHolder(const CGdiObjectHolder&) = delete;
    CGdiObjectHolder& operator=(const CGdiObjectHolder&) = delete;
    CGdiObjectHolder(CGdiObjectHolder&& other) noexcept : m_handle(other.Release()) {}
    CGdiObjectHolder& operator=(CGdiObjectHolder&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    THandle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    THandle Release()
    {
        THandle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(THandle handle = nullptr)
    {
        if (m_handle != nullptr && m_handle != handle) ::DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    THandle m_handle { nullptr };
};

using CBitmapHolder = CGdiObjectHolder<HBITMAP>;
using CFontHolder = CGdiObjectHolder<HFONT>;
using CBrushHolder = CGdiObjectHolder<HBRUSH>;
using CPenHolder = CGdiObjectHolder<HPEN>;
using CRegionHolder = CGdiObjectHolder<HRGN>;

// A memory context from CreateCompatibleDC, released with DeleteDC.
class CMemDCHolder {
public:
    CMemDCHolder() = default;
    explicit CMemDCHolder(HDC compatibleWith) : m_hdc(::CreateCompatibleDC(compatibleWith)) {}
    ~CMemDCHolder() { Reset(); }
    CMemDCHolder(const CMemDCHolder&) = delete;
    CMemDCHolder& operator=(const CMemDCHolder&) = delete;
    CMemDCHolder(CMemDCHolder&& other) noexcept : m_hdc(other.Release()) {}
    CMemDCHolder& operator=(CMemDCHolder&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HDC Get() const { return m_hdc; }
    explicit operator bool() const { return m_hdc != nullptr; }
    HDC Release()
    {
        HDC hdc = m_hdc;
        m_hdc = nullptr;
        return hdc;
    }
    void Reset(HDC hdc = nullptr)
    {
        if (m_hdc != nullptr && m_hdc != hdc) ::DeleteDC(m_hdc);
        m_hdc = hdc;
    }

private:
    HDC m_hdc { nullptr };
};

// A window's context from GetDC, given back with ReleaseDC.
class CWindowDCHolder {
public:
    explicit CWindowDCHolder(HWND hwnd) : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
    ~CWindowDCHolder()
    {
        if (m_hdc != nullptr) ::ReleaseDC(m_hwnd, m_hdc);
    }
    CWindowDCHolder(const CWindowDCHolder&) = delete;
    CWindowDCHolder& operator=(const CWindowDCHolder&) = delete;

    HDC Get() const { return m_hdc; }
    explicit operator bool() const { return m_hdc != nullptr; }

private:
    HWND m_hwnd { nullptr };
    HDC m_hdc { nullptr };
};

// Selects an object into a context and puts the previous one back on exit;
// the selected object itself is not deleted here.
class CSelectObjectScope {
public:
    CSelectObjectScope(HDC hdc, HGDIOBJ object) : m_hdc(hdc)
    {
        if (hdc == nullptr || object == nullptr || IsCurrent(hdc, object)) return;
        m_previous = ::SelectObject(hdc, object);
    }
    ~CSelectObjectScope()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) ::SelectObject(m_hdc, m_previous);
    }
    CSelectObjectScope(const CSelectObjectScope&) = delete;
    CSelectObjectScope& operator=(const CSelectObjectScope&) = delete;

    HGDIOBJ Previous() const { return m_previous; }

private:
    // Selecting costs a trip through the font and DC machinery even when the
    // object is already there (about 7 us a font under Wine), and text is
    // drawn cell by cell with the font its container already selected.
    static bool IsCurrent(HDC hdc, HGDIOBJ object)
    {
        const DWORD type = ::GetObjectType(object);
        if (type != OBJ_FONT && type != OBJ_PEN && type != OBJ_BRUSH && type != OBJ_BITMAP) return false;
        return ::GetCurrentObject(hdc, type) == object;
    }

    HDC m_hdc { nullptr };
    HGDIOBJ m_previous { nullptr };
};

// SaveDC / RestoreDC around a block that changes modes, clip or selections.
class CSaveDCScope {
public:
    explicit CSaveDCScope(HDC hdc) : m_hdc(hdc), m_saved(hdc != nullptr ? ::SaveDC(hdc) : 0) {}
    ~CSaveDCScope()
    {
        if (m_saved != 0) ::RestoreDC(m_hdc, m_saved);
    }
    CSaveDCScope(const CSaveDCScope&) = delete;
    CSaveDCScope& operator=(const CSaveDCScope&) = delete;

private:
    HDC m_hdc { nullptr };
    int m_saved { 0 };
};

}  // namespace Veneer
