#pragma once
#include "foundation/VeneerApi.h"
// Wide-character string with a 64-character inline buffer.
#include <windows.h>

namespace Veneer {

class VENEER_API CStdString {
public:
    // Texts up to this many characters stay in the inline buffer.
    enum { MAX_LOCAL_STRING_LEN = 62 };

    CStdString();
    CStdString(wchar_t ch);
    CStdString(const CStdString& src);
    CStdString(LPCWSTR text, int length = -1);
    ~CStdString();

    void Empty();
    int GetLength() const;
    bool IsEmpty() const;
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    void Append(LPCWSTR text);
    void Assign(LPCWSTR text, int length = -1);
    LPCWSTR GetData() const;
    operator LPCWSTR() const;
    wchar_t operator[](int index) const;

    const CStdString& operator=(const CStdString& src);
    const CStdString& operator=(LPCWSTR text);
    const CStdString& operator=(wchar_t ch);
    const CStdString& operator=(LPCSTR text);

    const CStdString& operator+=(const CStdString& src);
    const CStdString& operator+=(LPCWSTR text);
    const CStdString& operator+=(wchar_t ch);
    const CStdString& operator+=(LPCSTR text);

    CStdString operator+(const CStdString& src) const;
    CStdString operator+(LPCWSTR text) const;

    bool operator==(LPCWSTR text) const;
    bool operator!=(LPCWSTR text) const;
    bool operator<=(LPCWSTR text) const;
    bool operator<(LPCWSTR text) const;
    bool operator>=(LPCWSTR text) const;
    bool operator>(LPCWSTR text) const;

    int Compare(LPCWSTR text) const;
    int CompareNoCase(LPCWSTR text) const;

    void MakeUpper();
    void MakeLower();

    CStdString Left(int length) const;
    CStdString Mid(int pos, int length = -1) const;
    CStdString Right(int length) const;

    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(LPCWSTR from, LPCWSTR to);

    // Unlimited printf-style formatting; returns the formatted length.
    int __cdecl Format(LPCWSTR format, ...);
    // Formatting for short results: truncated to 63 characters; returns the
    // number of characters kept.
    int __cdecl SmallFormat(LPCWSTR format, ...);

private:
    bool IsOnHeap() const { return m_pstr != m_szBuffer; }
    void ReleaseHeap();

    LPWSTR m_pstr { m_szBuffer };
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 2] {};
};

}  // namespace Veneer
