#pragma once
#include "foundation/VeneerApi.h"
// Growable array of fixed-size values copied byte for byte.
#include <windows.h>

namespace Veneer {

class VENEER_API CStdValArray {
public:
    explicit CStdValArray(int elementSize, int preallocSize = 0);
    CStdValArray(const CStdValArray& src);
    CStdValArray& operator=(const CStdValArray& src);  // deep copy
    ~CStdValArray();

    void Empty() { m_nCount = 0; }  // keeps the block
    bool IsEmpty() const { return m_nCount == 0; }
    bool Add(LPCVOID data);
    bool Remove(int index);
    int GetSize() const { return m_nCount; }
    LPVOID GetData() const { return m_pVoid; }
    LPVOID GetAt(int index) const;
    LPVOID operator[](int index) const { return m_pVoid + static_cast<size_t>(index) * m_iElementSize; }

private:
    LPBYTE m_pVoid { nullptr };
    int m_iElementSize { 0 };
    int m_nCount { 0 };
    int m_nAllocated { 0 };
};

}  // namespace Veneer
