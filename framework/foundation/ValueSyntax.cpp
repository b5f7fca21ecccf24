#include "foundation/ValueSyntax.h"

#include "foundation/BuilderReport.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace Veneer {

int FormatBoundedV(wchar_t* buffer, size_t capacity, LPCWSTR format, va_list args)
{
    if (!buffer || capacity == 0)
        return 0;
    buffer[0] = L'\0';
    if (!format)
        return 0;
    // The runtime's _vsnwprintf leaves a full buffer unterminated and
    // returns -1 when it cuts: keep the last slot for the terminator.
    const int written = _vsnwprintf(buffer, capacity - 1, format, args);
    buffer[capacity - 1] = L'\0';
    if (written < 0 || static_cast<size_t>(written) >= capacity - 1) {
        return static_cast<int>(wcslen(buffer));
    }
    buffer[written] = L'\0';
    return written;
}

int __cdecl FormatBounded(wchar_t* buffer, size_t capacity, LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = FormatBoundedV(buffer, capacity, format, args);
    va_end(args);
    return written;
}

int CopyBounded(wchar_t* buffer, size_t capacity, LPCWSTR source)
{
    if (!buffer || capacity == 0)
        return 0;
    size_t n = 0;
    if (source) {
        while (n + 1 < capacity && source[n] != L'\0') {
            buffer[n] = source[n];
            ++n;
        }
    }
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

wchar_t UpperChar(wchar_t ch)
{
    // CharUpperBuffW maps any code unit; runtime table lookups are only
    // defined for part of the range.
    CharUpperBuffW(&ch, 1);
    return ch;
}

wchar_t LowerChar(wchar_t ch)
{
    CharLowerBuffW(&ch, 1);
    return ch;
}

namespace ValueSyntax {

namespace {

// The well-formedness checks below run only while a builder with a report
// applies values; they never change what the parsers return.

bool IsBlank(wchar_t ch)
{
    return ch != L'\0' && ch <= L' ';
}

bool OnlyBlanksFrom(LPCWSTR p)
{
    while (IsBlank(*p))
        ++p;
    return *p == L'\0';
}

// One decimal number as wcstol reads it, with at least one digit; `p` moves past it.
bool ReadWholeNumber(LPCWSTR& p)
{
    while (IsBlank(*p))
        ++p;
    if (*p == L'+' || *p == L'-')
        ++p;
    if (*p < L'0' || *p > L'9')
        return false;
    while (*p >= L'0' && *p <= L'9')
        ++p;
    return true;
}

bool IsWellFormedList(LPCWSTR text, int count)
{
    LPCWSTR p = text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p == L'\0')
                return false;
            ++p;
        }
        if (!ReadWholeNumber(p))
            return false;
    }
    return OnlyBlanksFrom(p);
}

bool IsWellFormedColor(LPCWSTR text, bool skipLeadingBlanks)
{
    LPCWSTR p = text;
    if (skipLeadingBlanks) {
        while (IsBlank(*p))
            ++p;
    }
    if (*p == L'#')
        ++p;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X'))
        p += 2;
    int digits = 0;
    while (iswxdigit(*p)) {
        ++p;
        ++digits;
    }
    return digits == 8 && OnlyBlanksFrom(p);
}

void CheckList(LPCWSTR text, int count, LPCWSTR syntax)
{
    if (CBuilderReportScope::Current() == nullptr || text == nullptr)
        return;
    if (!IsWellFormedList(text, count))
        CBuilderReportScope::ReportMalformedValue(syntax, text);
}

}  // namespace

long ParseInt(LPCWSTR text, LPCWSTR* end)
{
    if (!text) {
        if (end)
            *end = nullptr;
        return 0;
    }
    wchar_t* stop = nullptr;
    const long value = wcstol(text, &stop, 10);
    if (end)
        *end = stop;
    else
        CheckList(text, 1, L"a whole number");
    return value;
}

bool ParseBool(LPCWSTR text)
{
    const bool value = text && wcscmp(text, L"true") == 0;
    if (!value && text != nullptr && CBuilderReportScope::Current() != nullptr && wcscmp(text, L"false") != 0)
        CBuilderReportScope::ReportMalformedValue(L"'true' or 'false'", text, L"taken as false");
    return value;
}

DWORD ParseColor(LPCWSTR text, bool skipLeadingBlanks)
{
    if (!text)
        return 0;
    if (CBuilderReportScope::Current() != nullptr && !IsWellFormedColor(text, skipLeadingBlanks))
        CBuilderReportScope::ReportMalformedValue(L"a colour #AARRGGBB", text);
    if (skipLeadingBlanks) {
        while (*text != L'\0' && *text <= L' ')
            ++text;
    }
    if (*text == L'#')
        ++text;
    wchar_t* stop = nullptr;
    return static_cast<DWORD>(wcstoul(text, &stop, 16));
}

namespace {

int ReadNumberList(LPCWSTR text, long* values, int count)
{
    if (!values || count <= 0)
        return 0;
    for (int i = 0; i < count; ++i)
        values[i] = 0;
    if (!text)
        return 0;
    LPCWSTR pos = text;
    int read = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            // Exactly one separator; never step over the terminator.
            if (*pos == L'\0')
                break;
            ++pos;
        }
        wchar_t* stop = nullptr;
        values[i] = wcstol(pos, &stop, 10);
        pos = stop;
        ++read;
        if (*pos == L'\0' && i + 1 < count)
            break;
    }
    return read;
}

}  // namespace

int ParseNumberList(LPCWSTR text, long* values, int count)
{
    CheckList(text, count, count == 4 ? L"four numbers a,b,c,d" : L"a list of numbers");
    return ReadNumberList(text, values, count);
}

RECT ParseRect(LPCWSTR text)
{
    CheckList(text, 4, L"a rectangle l,t,r,b");
    long v[4] = {};
    ReadNumberList(text, v, 4);
    RECT rc = { v[0], v[1], v[2], v[3] };
    return rc;
}

SIZE ParseSize(LPCWSTR text)
{
    CheckList(text, 2, L"a size cx,cy");
    long v[2] = {};
    ReadNumberList(text, v, 2);
    SIZE sz = { v[0], v[1] };
    return sz;
}

}  // namespace ValueSyntax
}  // namespace Veneer
