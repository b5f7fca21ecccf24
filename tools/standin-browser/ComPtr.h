#pragma once
// A counted reference to a COM object.
#include <unknwn.h>

namespace Standin {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes a new reference of its own.
    ComPtr(T* pointer) : m_p(pointer)
    {
        if (m_p) {
            m_p->AddRef();
        }
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~ComPtr() { Reset(); }
    ComPtr& operator=(const ComPtr& other)
    {
        Reset(other.m_p);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out parameters: drops the current reference first.
    T** Put()
    {
        Reset();
        return &m_p;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    void Reset(T* pointer = nullptr)
    {
        if (pointer) {
            pointer->AddRef();
        }
        T* old = m_p;
        m_p = pointer;
        if (old) {
            old->Release();
        }
    }
    // Adopts a reference the caller already owns.
    void Attach(T* pointer)
    {
        Reset();
        m_p = pointer;
    }
    T* Detach()
    {
        T* pointer = m_p;
        m_p = nullptr;
        return pointer;
    }

private:
    T* m_p { nullptr };
};

}  // namespace Standin
