#pragma once
// Wide-character string with a 64-character inline buffer.
#include <windows.h>

namespace Veneer {

class CDuiString {
public:
    // Texts up to this many characters stay in the inline buffer.
    enum { MAX_LOCAL_STRING_LEN = 62 };

    CDuiString();
    CDuiString(wchar_t ch);
    CDuiString(const CDuiString& src);
    CDuiString(LPCWSTR text, int length = -1);
    ~CDuiString();

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

    const CDuiString& operator=(const CDuiString& src);
    const CDuiString& operator=(LPCWSTR text);
    const CDuiString& operator=(wchar_t ch);
    const CDuiString& operator=(LPCSTR text);

    const CDuiString& operator+=(const CDuiString& src);
    const CDuiString& operator+=(LPCWSTR text);
    const CDuiString& operator+=(wchar_t ch);
    const CDuiString& operator+=(LPCSTR text);

    CDuiString operator+(const CDuiString& src) const;
    CDuiString operator+(LPCWSTR text) const;

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

    CDuiString Left(int length) const;
    CDuiString Mid(int pos, int length = -1) const;
    CDuiString Right(int length) const;

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
