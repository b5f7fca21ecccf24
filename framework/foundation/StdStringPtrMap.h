#pragma once
#include "foundation/VeneerApi.h"
// String-keyed hash map of untyped pointers; never owns the values.
#include <windows.h>

#include "foundation/StdString.h"

namespace Veneer {

class VENEER_API CStdStringPtrMap {
public:
    explicit CStdStringPtrMap(int size = 83);
    CStdStringPtrMap(const CStdStringPtrMap&) = delete;
    CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
    ~CStdStringPtrMap();

    void Resize(int size = 83);
    // With `optimize`, a hit moves to the head of its chain.
    LPVOID Find(LPCWSTR key, bool optimize = true) const;
    bool Insert(LPCWSTR key, LPVOID data);
    LPVOID Set(LPCWSTR key, LPVOID data);
    bool Remove(LPCWSTR key);
    void RemoveAll();
    int GetSize() const { return m_nCount; }
    LPCWSTR GetAt(int index) const;
    LPCWSTR operator[](int index) const { return GetAt(index); }

private:
    struct TITEM {
        CStdString Key;
        LPVOID Data { nullptr };
        TITEM* pPrev { nullptr };
        TITEM* pNext { nullptr };
    };

    static UINT HashKey(LPCWSTR key);
    TITEM* FindItem(LPCWSTR key, bool optimize) const;

    TITEM** m_aT { nullptr };
    int m_nBuckets { 0 };
    int m_nCount { 0 };
};

}  // namespace Veneer
