#pragma once
// Owns a kernel handle (a file, a mutex, a mapping) and closes it once.
// Win32 reports failure with INVALID_HANDLE_VALUE for files and with null
// for most other handles: both count as empty.
#include <windows.h>

namespace Veneer {

class CHandleHolder {
public:
    CHandleHolder() = default;
    explicit CHandleHolder(HANDLE handle) : m_handle(handle) {}
    ~CHandleHolder() { Reset(); }
    CHandleHolder(const CHandleHolder&) = delete;
    CHandleHolder& operator=(const CHandleHolder&) = delete;

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    explicit operator bool() const { return IsValid(); }

    void Reset(HANDLE handle = nullptr)
    {
        if (IsValid()) ::CloseHandle(m_handle);
        m_handle = handle;
    }
    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    HANDLE m_handle { nullptr };
};

}  // namespace Veneer
