#include "foundation/StdPtrArray.h"

#include <cstdlib>
#include <cstring>

namespace Veneer {

CStdPtrArray::CStdPtrArray(int preallocSize)
{
    if (preallocSize > 0) {
        m_ppVoid = static_cast<LPVOID*>(malloc(static_cast<size_t>(preallocSize) * sizeof(LPVOID)));
        if (m_ppVoid)
            m_nAllocated = preallocSize;
    }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& src)
{
    for (int i = 0; i < src.GetSize(); ++i)
        Add(src.GetAt(i));
}

CStdPtrArray& CStdPtrArray::operator=(const CStdPtrArray& src)
{
    if (this == &src)
        return *this;
    Empty();
    for (int i = 0; i < src.GetSize(); ++i)
        Add(src.GetAt(i));
    return *this;
}

CStdPtrArray::~CStdPtrArray()
{
    free(m_ppVoid);
}

void CStdPtrArray::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = 0;
    m_nAllocated = 0;
}

void CStdPtrArray::Resize(int size)
{
    Empty();
    if (size <= 0)
        return;
    m_ppVoid = static_cast<LPVOID*>(calloc(static_cast<size_t>(size), sizeof(LPVOID)));
    if (!m_ppVoid)
        return;
    m_nAllocated = size;
    m_nCount = size;
}

// Makes room for one more element; grows one element before the block is full.
bool CStdPtrArray::Grow()
{
    const int newCount = m_nCount + 1;
    if (newCount >= m_nAllocated) {
        const int newAllocated = m_nAllocated > 0 ? m_nAllocated * 2 : 11;
        LPVOID* block = static_cast<LPVOID*>(
            realloc(m_ppVoid, static_cast<size_t>(newAllocated) * sizeof(LPVOID)));
        if (!block)
            return false;
        m_ppVoid = block;
        m_nAllocated = newAllocated;
    }
    m_nCount = newCount;
    return true;
}

bool CStdPtrArray::Add(LPVOID data)
{
    if (!Grow())
        return false;
    m_ppVoid[m_nCount - 1] = data;
    return true;
}

bool CStdPtrArray::InsertAt(int index, LPVOID data)
{
    if (index == m_nCount)
        return Add(data);
    if (index < 0 || index > m_nCount)
        return false;
    if (!Grow())
        return false;
    memmove(&m_ppVoid[index + 1], &m_ppVoid[index],
        static_cast<size_t>(m_nCount - index - 1) * sizeof(LPVOID));
    m_ppVoid[index] = data;
    return true;
}

bool CStdPtrArray::SetAt(int index, LPVOID data)
{
    if (index < 0 || index >= m_nCount)
        return false;
    m_ppVoid[index] = data;
    return true;
}

bool CStdPtrArray::Remove(int index)
{
    if (index < 0 || index >= m_nCount)
        return false;
    if (index < m_nCount - 1) {
        memmove(&m_ppVoid[index], &m_ppVoid[index + 1],
            static_cast<size_t>(m_nCount - index - 1) * sizeof(LPVOID));
    }
    --m_nCount;
    return true;
}

int CStdPtrArray::Find(LPVOID data) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == data)
            return i;
    }
    return -1;
}

LPVOID CStdPtrArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount)
        return nullptr;
    return m_ppVoid[index];
}

}  // namespace Veneer
