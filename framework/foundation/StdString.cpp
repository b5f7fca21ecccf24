#include "foundation/StdString.h"

#include "foundation/ValueSyntax.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace Veneer {

namespace {

LPWSTR AllocateChars(size_t count)
{
    return static_cast<LPWSTR>(malloc(count * sizeof(wchar_t)));
}

}  // namespace

CStdString::CStdString() = default;

CStdString::CStdString(wchar_t ch)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CStdString::CStdString(const CStdString& src)
{
    Assign(src.m_pstr);
}

CStdString::CStdString(LPCWSTR text, int length)
{
    Assign(text, length);
}

CStdString::~CStdString()
{
    ReleaseHeap();
}

void CStdString::ReleaseHeap()
{
    if (IsOnHeap())
        free(m_pstr);
    m_pstr = m_szBuffer;
}

void CStdString::Empty()
{
    ReleaseHeap();
    m_szBuffer[0] = L'\0';
}

int CStdString::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

bool CStdString::IsEmpty() const
{
    return m_pstr[0] == L'\0';
}

wchar_t CStdString::GetAt(int index) const
{
    return m_pstr[index];
}

void CStdString::SetAt(int index, wchar_t ch)
{
    m_pstr[index] = ch;
}

LPCWSTR CStdString::GetData() const
{
    return m_pstr;
}

CStdString::operator LPCWSTR() const
{
    return m_pstr;
}

wchar_t CStdString::operator[](int index) const
{
    return m_pstr[index];
}

void CStdString::Assign(LPCWSTR text, int length)
{
    if (!text)
        text = L"";
    // Never read past the text's terminator, whatever length was asked for.
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    else
        length = static_cast<int>(wcsnlen(text, static_cast<size_t>(length)));
    // The source may lie inside this string: every move below copies before
    // it frees, and uses memmove.
    if (length > MAX_LOCAL_STRING_LEN) {
        if (!IsOnHeap() || GetLength() < length) {
            LPWSTR block = AllocateChars(static_cast<size_t>(length) + 1);
            if (!block)
                return;
            memcpy(block, text, static_cast<size_t>(length) * sizeof(wchar_t));
            block[length] = L'\0';
            ReleaseHeap();
            m_pstr = block;
            return;
        }
    } else if (IsOnHeap()) {
        memmove(m_szBuffer, text, static_cast<size_t>(length) * sizeof(wchar_t));
        m_szBuffer[length] = L'\0';
        ReleaseHeap();
        return;
    }
    memmove(m_pstr, text, static_cast<size_t>(length) * sizeof(wchar_t));
    m_pstr[length] = L'\0';
}

void CStdString::Append(LPCWSTR text)
{
    if (!text)
        return;
    const size_t current = wcslen(m_pstr);
    const size_t added = wcslen(text);
    const size_t total = current + added;
    if (total > static_cast<size_t>(MAX_LOCAL_STRING_LEN)) {
        // A fresh block rather than realloc: `text` may point into this string.
        LPWSTR block = AllocateChars(total + 1);
        if (!block)
            return;
        memcpy(block, m_pstr, current * sizeof(wchar_t));
        memcpy(block + current, text, added * sizeof(wchar_t));
        block[total] = L'\0';
        ReleaseHeap();
        m_pstr = block;
        return;
    }
    if (IsOnHeap()) {
        // Shortened in place by SetAt: the result fits inline again.
        wchar_t joined[MAX_LOCAL_STRING_LEN + 1];
        memcpy(joined, m_pstr, current * sizeof(wchar_t));
        memcpy(joined + current, text, added * sizeof(wchar_t));
        joined[total] = L'\0';
        ReleaseHeap();
        memcpy(m_szBuffer, joined, (total + 1) * sizeof(wchar_t));
        return;
    }
    memmove(m_szBuffer + current, text, added * sizeof(wchar_t));
    m_szBuffer[total] = L'\0';
}

const CStdString& CStdString::operator=(const CStdString& src)
{
    Assign(src.m_pstr);
    return *this;
}

const CStdString& CStdString::operator=(LPCWSTR text)
{
    if (!text) {
        Empty();
        return *this;
    }
    Assign(text);
    return *this;
}

const CStdString& CStdString::operator=(wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

namespace {

// Converts an 8-bit text of the ANSI code page; false when it cannot.
bool WidenAnsi(LPCSTR text, CStdString& out)
{
    const int needed = MultiByteToWideChar(GetACP(), 0, text, -1, nullptr, 0);
    if (needed <= 0)
        return false;
    LPWSTR block = static_cast<LPWSTR>(calloc(static_cast<size_t>(needed) + 1, sizeof(wchar_t)));
    if (!block)
        return false;
    MultiByteToWideChar(GetACP(), 0, text, -1, block, needed);
    out.Assign(block);
    free(block);
    return true;
}

}  // namespace

const CStdString& CStdString::operator=(LPCSTR text)
{
    if (!text) {
        Empty();
        return *this;
    }
    CStdString wide;
    if (WidenAnsi(text, wide))
        Assign(wide.GetData());
    else
        Empty();
    return *this;
}

const CStdString& CStdString::operator+=(const CStdString& src)
{
    Append(src.m_pstr);
    return *this;
}

const CStdString& CStdString::operator+=(LPCWSTR text)
{
    Append(text);
    return *this;
}

const CStdString& CStdString::operator+=(wchar_t ch)
{
    const wchar_t one[2] = { ch, L'\0' };
    Append(one);
    return *this;
}

const CStdString& CStdString::operator+=(LPCSTR text)
{
    if (!text)
        return *this;
    CStdString wide;
    if (WidenAnsi(text, wide))
        Append(wide.GetData());
    return *this;
}

CStdString CStdString::operator+(const CStdString& src) const
{
    CStdString result(*this);
    result.Append(src.m_pstr);
    return result;
}

CStdString CStdString::operator+(LPCWSTR text) const
{
    CStdString result(*this);
    result.Append(text);
    return result;
}

int CStdString::Compare(LPCWSTR text) const
{
    return wcscmp(m_pstr, text ? text : L"");
}

int CStdString::CompareNoCase(LPCWSTR text) const
{
    return _wcsicmp(m_pstr, text ? text : L"");
}

bool CStdString::operator==(LPCWSTR text) const { return Compare(text) == 0; }
bool CStdString::operator!=(LPCWSTR text) const { return Compare(text) != 0; }
bool CStdString::operator<=(LPCWSTR text) const { return Compare(text) <= 0; }
bool CStdString::operator<(LPCWSTR text) const { return Compare(text) < 0; }
bool CStdString::operator>=(LPCWSTR text) const { return Compare(text) >= 0; }
bool CStdString::operator>(LPCWSTR text) const { return Compare(text) > 0; }

void CStdString::MakeUpper()
{
    const DWORD length = static_cast<DWORD>(wcslen(m_pstr));
    if (length > 0)
        CharUpperBuffW(m_pstr, length);
}

void CStdString::MakeLower()
{
    const DWORD length = static_cast<DWORD>(wcslen(m_pstr));
    if (length > 0)
        CharLowerBuffW(m_pstr, length);
}

CStdString CStdString::Left(int length) const
{
    const int total = GetLength();
    if (length < 0)
        length = 0;
    if (length > total)
        length = total;
    return CStdString(m_pstr, length);
}

CStdString CStdString::Mid(int pos, int length) const
{
    const int total = GetLength();
    if (pos < 0)
        pos = 0;
    if (pos > total)
        return CStdString();
    if (length < 0)
        length = total - pos;
    if (pos + length > total)
        length = total - pos;
    if (length <= 0)
        return CStdString();
    return CStdString(m_pstr + pos, length);
}

CStdString CStdString::Right(int length) const
{
    const int total = GetLength();
    if (length < 0)
        length = 0;
    if (length > total)
        length = total;
    return CStdString(m_pstr + total - length, length);
}

int CStdString::Find(wchar_t ch, int start) const
{
    if (start != 0 && (start < 0 || start >= GetLength()))
        return -1;
    LPCWSTR hit = wcschr(m_pstr + start, ch);
    if (!hit)
        return -1;
    return static_cast<int>(hit - m_pstr);
}

int CStdString::Find(LPCWSTR text, int start) const
{
    if (start != 0 && (start < 0 || start > GetLength()))
        return -1;
    if (!text)
        return -1;
    // Plain search: runtimes disagree on what an empty needle matches.
    const size_t needle = wcslen(text);
    for (LPCWSTR p = m_pstr + start;; ++p) {
        if (wcsncmp(p, text, needle) == 0)
            return static_cast<int>(p - m_pstr);
        if (*p == L'\0')
            return -1;
    }
}

int CStdString::ReverseFind(wchar_t ch) const
{
    LPCWSTR hit = wcsrchr(m_pstr, ch);
    if (!hit)
        return -1;
    return static_cast<int>(hit - m_pstr);
}

int CStdString::Replace(LPCWSTR from, LPCWSTR to)
{
    // An empty search text would match everywhere forever.
    if (!from || from[0] == L'\0')
        return 0;
    if (!to)
        to = L"";
    const int fromLength = static_cast<int>(wcslen(from));
    const int toLength = static_cast<int>(wcslen(to));
    int count = 0;
    int pos = Find(from, 0);
    while (pos >= 0) {
        CStdString replaced = Left(pos);
        replaced.Append(to);
        replaced.Append(Mid(pos + fromLength));
        Assign(replaced.GetData());
        ++count;
        pos = Find(from, pos + toLength);
    }
    return count;
}

int __cdecl CStdString::Format(LPCWSTR format, ...)
{
    if (!format) {
        Empty();
        return 0;
    }
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length < 0) {
        va_end(args);
        Empty();
        return length;
    }
    LPWSTR block = static_cast<LPWSTR>(calloc(static_cast<size_t>(length) + 1, sizeof(wchar_t)));
    if (!block) {
        va_end(args);
        return -1;
    }
    const int written = FormatBoundedV(block, static_cast<size_t>(length) + 1, format, args);
    va_end(args);
    Assign(block, written);
    free(block);
    return written;
}

int __cdecl CStdString::SmallFormat(LPCWSTR format, ...)
{
    wchar_t buffer[64] = {};
    va_list args;
    va_start(args, format);
    const int written = FormatBoundedV(buffer, 64, format, args);
    va_end(args);
    Assign(buffer, written);
    return written;
}

}  // namespace Veneer
