#pragma once
#include "foundation/VeneerApi.h"
// Callback holders and the listener list controls expose for their hooks.
#include <windows.h>

#include <cstring>

#include "foundation/StdPtrArray.h"

namespace Veneer {

class VENEER_API CDelegateBase {
public:
    CDelegateBase(void* pObject, void* pFn);
    CDelegateBase(const CDelegateBase& rhs);
    CDelegateBase& operator=(const CDelegateBase& rhs) = delete;
    virtual ~CDelegateBase();

    virtual CDelegateBase* Clone() const = 0;
    virtual bool Run(void* param) = 0;

    bool operator()(void* param) { return Run(param); }
    bool Equals(const CDelegateBase& rhs) const;
    void* GetFn() const { return m_pFn; }
    void* GetObjectW() const { return m_pObject; }

private:
    void* m_pObject { nullptr };
    void* m_pFn { nullptr };
};

class VENEER_API CDelegateStatic : public CDelegateBase {
public:
    typedef bool (*Fn)(void*);

    explicit CDelegateStatic(Fn pFn);
    CDelegateBase* Clone() const override;
    bool Run(void* param) override;

private:
    Fn m_pFn { nullptr };
};

// A member function `bool T::fn(void*)` called on an object of class O.
template <class O, class T>
class CDelegate : public CDelegateBase {
public:
    typedef bool (T::*Fn)(void*);

    CDelegate(O* pObj, Fn pFn)
        : CDelegateBase(pObj, FnIdentity(pFn))
        , m_pFn(pFn)
    {
    }
    CDelegateBase* Clone() const override { return new CDelegate(*this); }
    bool Run(void* param) override
    {
        O* pObject = static_cast<O*>(GetObjectW());
        return (pObject->*m_pFn)(param);
    }

private:
    // A member-function pointer does not fit a data pointer; its leading
    // word (code address or virtual slot) identifies it for Equals.
    static void* FnIdentity(Fn pFn)
    {
        void* identity = nullptr;
        memcpy(&identity, &pFn, sizeof(pFn) < sizeof(identity) ? sizeof(pFn) : sizeof(identity));
        return identity;
    }

    Fn m_pFn { nullptr };
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*))
{
    return CDelegate<O, T>(pObject, pFn);
}

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*))
{
    return CDelegateStatic(pFn);
}

// Owns copies of its delegates and calls them in insertion order.
class VENEER_API CEventSource {
public:
    typedef bool (*FnType)(void*);

    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;
    ~CEventSource();

    operator bool() const;
    void operator+=(const CDelegateBase& d);
    void operator+=(FnType pFn);
    void operator-=(const CDelegateBase& d);
    void operator-=(FnType pFn);
    // False as soon as one delegate returns false; true otherwise.
    bool operator()(void* param);

private:
    CStdPtrArray m_aDelegates;
};

}  // namespace Veneer
