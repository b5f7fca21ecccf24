#include "foundation/StdValArray.h"

#include <cstdlib>
#include <cstring>

namespace Veneer {

CStdValArray::CStdValArray(int elementSize, int preallocSize)
    : m_iElementSize(elementSize > 0 ? elementSize : 1)
{
    if (preallocSize > 0) {
        m_pVoid = static_cast<LPBYTE>(
            malloc(static_cast<size_t>(preallocSize) * static_cast<size_t>(m_iElementSize)));
        if (m_pVoid)
            m_nAllocated = preallocSize;
    }
}

CStdValArray::CStdValArray(const CStdValArray& src)
    : m_iElementSize(src.m_iElementSize)
{
    for (int i = 0; i < src.GetSize(); ++i)
        Add(src.GetAt(i));
}

CStdValArray& CStdValArray::operator=(const CStdValArray& src)
{
    if (this == &src)
        return *this;
    free(m_pVoid);
    m_pVoid = nullptr;
    m_nCount = 0;
    m_nAllocated = 0;
    m_iElementSize = src.m_iElementSize;
    for (int i = 0; i < src.GetSize(); ++i)
        Add(src.GetAt(i));
    return *this;
}

CStdValArray::~CStdValArray()
{
    free(m_pVoid);
}

bool CStdValArray::Add(LPCVOID data)
{
    if (!data)
        return false;
    const int newCount = m_nCount + 1;
    if (newCount >= m_nAllocated) {
        const int newAllocated = m_nAllocated > 0 ? m_nAllocated * 2 : 11;
        LPBYTE block = static_cast<LPBYTE>(realloc(m_pVoid,
            static_cast<size_t>(newAllocated) * static_cast<size_t>(m_iElementSize)));
        if (!block)
            return false;
        m_pVoid = block;
        m_nAllocated = newAllocated;
    }
    m_nCount = newCount;
    memcpy(m_pVoid + static_cast<size_t>(m_nCount - 1) * m_iElementSize, data,
        static_cast<size_t>(m_iElementSize));
    return true;
}

bool CStdValArray::Remove(int index)
{
    if (index < 0 || index >= m_nCount)
        return false;
    if (index < m_nCount - 1) {
        memmove(m_pVoid + static_cast<size_t>(index) * m_iElementSize,
            m_pVoid + static_cast<size_t>(index + 1) * m_iElementSize,
            static_cast<size_t>(m_nCount - index - 1) * m_iElementSize);
    }
    --m_nCount;
    return true;
}

LPVOID CStdValArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount)
        return nullptr;
    return m_pVoid + static_cast<size_t>(index) * m_iElementSize;
}

}  // namespace Veneer
