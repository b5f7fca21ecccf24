#pragma once
#include "foundation/VeneerApi.h"
// Growable array of untyped pointers; never owns what they point to.
#include <windows.h>

namespace Veneer {

class VENEER_API CStdPtrArray {
public:
    explicit CStdPtrArray(int preallocSize = 0);
    CStdPtrArray(const CStdPtrArray& src);
    CStdPtrArray& operator=(const CStdPtrArray& src);  // deep copy
    ~CStdPtrArray();

    void Empty();
    void Resize(int size);
    bool IsEmpty() const { return m_nCount == 0; }
    int GetSize() const { return m_nCount; }
    int Find(LPVOID data) const;
    bool Add(LPVOID data);
    bool SetAt(int index, LPVOID data);
    bool InsertAt(int index, LPVOID data);
    bool Remove(int index);
    LPVOID* GetData() const { return m_ppVoid; }
    LPVOID GetAt(int index) const;
    LPVOID operator[](int index) const { return m_ppVoid[index]; }

private:
    bool Grow();

    LPVOID* m_ppVoid { nullptr };
    int m_nCount { 0 };
    int m_nAllocated { 0 };
};

}  // namespace Veneer
