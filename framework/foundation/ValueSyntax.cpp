#include "foundation/ValueSyntax.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

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
    return value;
}

bool ParseBool(LPCWSTR text)
{
    return text && wcscmp(text, L"true") == 0;
}

DWORD ParseColor(LPCWSTR text, bool skipLeadingBlanks)
{
    if (!text)
        return 0;
    if (skipLeadingBlanks) {
        while (*text != L'\0' && *text <= L' ')
            ++text;
    }
    if (*text == L'#')
        ++text;
    wchar_t* stop = nullptr;
    return static_cast<DWORD>(wcstoul(text, &stop, 16));
}

int ParseNumberList(LPCWSTR text, long* values, int count)
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

RECT ParseRect(LPCWSTR text)
{
    long v[4] = {};
    ParseNumberList(text, v, 4);
    RECT rc = { v[0], v[1], v[2], v[3] };
    return rc;
}

SIZE ParseSize(LPCWSTR text)
{
    long v[2] = {};
    ParseNumberList(text, v, 2);
    SIZE sz = { v[0], v[1] };
    return sz;
}

}  // namespace ValueSyntax
}  // namespace Veneer
