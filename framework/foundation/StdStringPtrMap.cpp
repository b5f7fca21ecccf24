#include "foundation/StdStringPtrMap.h"

#include <cstdlib>
#include <cwchar>
#include <new>

namespace Veneer {

namespace {

// Inline ordinal equality: chains are walked on every lookup.
bool SameKey(LPCWSTR a, LPCWSTR b)
{
    while (*a == *b) {
        if (*a == L'\0')
            return true;
        ++a;
        ++b;
    }
    return false;
}

}  // namespace

CStdStringPtrMap::CStdStringPtrMap(int size)
{
    if (size < 16)
        size = 16;
    Resize(size);
}

CStdStringPtrMap::~CStdStringPtrMap()
{
    Resize(0);
}

UINT CStdStringPtrMap::HashKey(LPCWSTR key)
{
    UINT h = 0;
    const size_t length = wcslen(key);
    for (size_t i = length; i > 0; --i)
        h = h * 33u + static_cast<UINT>(key[i - 1]);
    return h;
}

void CStdStringPtrMap::Resize(int size)
{
    if (m_aT) {
        for (int i = 0; i < m_nBuckets; ++i) {
            TITEM* item = m_aT[i];
            while (item) {
                TITEM* next = item->pNext;
                delete item;
                item = next;
            }
        }
        free(m_aT);
        m_aT = nullptr;
    }
    m_nBuckets = 0;
    m_nCount = 0;
    if (size <= 0)
        return;
    m_aT = static_cast<TITEM**>(calloc(static_cast<size_t>(size), sizeof(TITEM*)));
    if (m_aT)
        m_nBuckets = size;
}

void CStdStringPtrMap::RemoveAll()
{
    Resize(m_nBuckets);
}

CStdStringPtrMap::TITEM* CStdStringPtrMap::FindItem(LPCWSTR key, bool optimize) const
{
    if (!key || m_nBuckets == 0 || m_nCount == 0)
        return nullptr;
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    for (TITEM* item = m_aT[slot]; item; item = item->pNext) {
        if (!SameKey(item->Key.GetData(), key))
            continue;
        if (optimize && item != m_aT[slot]) {
            item->pPrev->pNext = item->pNext;
            if (item->pNext)
                item->pNext->pPrev = item->pPrev;
            item->pPrev = nullptr;
            item->pNext = m_aT[slot];
            m_aT[slot]->pPrev = item;
            m_aT[slot] = item;
        }
        return item;
    }
    return nullptr;
}

LPVOID CStdStringPtrMap::Find(LPCWSTR key, bool optimize) const
{
    const TITEM* item = FindItem(key, optimize);
    return item ? item->Data : nullptr;
}

bool CStdStringPtrMap::Insert(LPCWSTR key, LPVOID data)
{
    if (!key || m_nBuckets == 0)
        return false;
    if (FindItem(key, true))
        return false;
    TITEM* item = new (std::nothrow) TITEM;
    if (!item)
        return false;
    item->Key = key;
    item->Data = data;
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    item->pNext = m_aT[slot];
    if (item->pNext)
        item->pNext->pPrev = item;
    m_aT[slot] = item;
    ++m_nCount;
    return true;
}

LPVOID CStdStringPtrMap::Set(LPCWSTR key, LPVOID data)
{
    if (m_nBuckets == 0 || !key)
        return data;
    if (m_nCount > 0) {
        TITEM* item = FindItem(key, true);
        if (item) {
            LPVOID old = item->Data;
            item->Data = data;
            return old;
        }
    }
    Insert(key, data);
    return nullptr;
}

bool CStdStringPtrMap::Remove(LPCWSTR key)
{
    if (!key || m_nBuckets == 0 || m_nCount == 0)
        return false;
    const UINT slot = HashKey(key) % static_cast<UINT>(m_nBuckets);
    for (TITEM* item = m_aT[slot]; item; item = item->pNext) {
        if (!SameKey(item->Key.GetData(), key))
            continue;
        if (item->pNext)
            item->pNext->pPrev = item->pPrev;
        if (item->pPrev)
            item->pPrev->pNext = item->pNext;
        else
            m_aT[slot] = item->pNext;
        delete item;
        --m_nCount;
        return true;
    }
    return false;
}

LPCWSTR CStdStringPtrMap::GetAt(int index) const
{
    if (index < 0 || index >= m_nCount || !m_aT)
        return nullptr;
    int position = 0;
    for (int slot = m_nBuckets - 1; slot >= 0; --slot) {
        for (const TITEM* item = m_aT[slot]; item; item = item->pNext) {
            if (position == index)
                return item->Key.GetData();
            ++position;
        }
    }
    return nullptr;
}

}  // namespace Veneer
