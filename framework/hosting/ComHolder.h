#pragma once
// Owns one reference of a COM interface pointer; counts the references of
// the hosting's own COM objects.
#include <windows.h>
#include <unknwn.h>

namespace Veneer {

template <class T>
class CComHolder {
public:
    CComHolder() = default;
    // Takes over a reference the caller already owns.
    explicit CComHolder(T* p) : m_p(p) {}
    ~CComHolder() { Release(); }
    CComHolder(const CComHolder&) = delete;
    CComHolder& operator=(const CComHolder&) = delete;
    CComHolder(CComHolder&& other) noexcept : m_p(other.Detach()) {}
    CComHolder& operator=(CComHolder&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_p = other.Detach();
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out parameters: drops the current reference first.
    T** Out()
    {
        Release();
        return &m_p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

    void Release()
    {
        T* p = m_p;
        m_p = nullptr;
        if (p != nullptr) {
            p->Release();
        }
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    // Keeps its own reference to p.
    void Assign(T* p)
    {
        if (p != nullptr) {
            p->AddRef();
        }
        Release();
        m_p = p;
    }

private:
    T* m_p { nullptr };
};

// AddRef and Release of a COM object of ours that lives on the heap and
// deletes itself when its last reference goes; both answer the count.
inline ULONG AddComReference(LONG& count)
{
    return static_cast<ULONG>(::InterlockedIncrement(&count));
}

template <class T>
ULONG ReleaseComReference(T* object, LONG& count)
{
    const LONG left = ::InterlockedDecrement(&count);
    if (left == 0) delete object;
    return static_cast<ULONG>(left);
}

}  // namespace Veneer
