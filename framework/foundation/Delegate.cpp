#include "foundation/Delegate.h"

namespace Veneer {

CDelegateBase::CDelegateBase(void* pObject, void* pFn)
    : m_pObject(pObject)
    , m_pFn(pFn)
{
}

CDelegateBase::CDelegateBase(const CDelegateBase& rhs)
    : m_pObject(rhs.m_pObject)
    , m_pFn(rhs.m_pFn)
{
}

CDelegateBase::~CDelegateBase() = default;

bool CDelegateBase::Equals(const CDelegateBase& rhs) const
{
    return m_pObject == rhs.m_pObject && m_pFn == rhs.m_pFn;
}

CDelegateStatic::CDelegateStatic(Fn pFn)
    : CDelegateBase(nullptr, reinterpret_cast<void*>(pFn))
    , m_pFn(pFn)
{
}

CDelegateBase* CDelegateStatic::Clone() const
{
    return new CDelegateStatic(*this);
}

bool CDelegateStatic::Run(void* param)
{
    return m_pFn ? m_pFn(param) : true;
}

CEventSource::~CEventSource()
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
    m_aDelegates.Empty();
}

CEventSource::operator bool() const
{
    return m_aDelegates.GetSize() > 0;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        const CDelegateBase* stored = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (stored && stored->Equals(d))
            return;
    }
    CDelegateBase* copy = d.Clone();
    if (!m_aDelegates.Add(copy))
        delete copy;
}

void CEventSource::operator+=(FnType pFn)
{
    (*this) += CDelegateStatic(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        CDelegateBase* stored = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (stored && stored->Equals(d)) {
            delete stored;
            m_aDelegates.Remove(i);
            return;
        }
    }
}

void CEventSource::operator-=(FnType pFn)
{
    (*this) -= CDelegateStatic(pFn);
}

bool CEventSource::operator()(void* param)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        CDelegateBase* stored = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (stored && !(*stored)(param))
            return false;
    }
    return true;
}

}  // namespace Veneer
