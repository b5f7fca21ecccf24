#pragma once
// Helpers shared by every part of the framework: bounded formatting into
// fixed buffers, and the value syntaxes skins use in attributes.
#include <windows.h>
#include <cstdarg>
#include <cstddef>

namespace Veneer {

// printf-style formatting into a buffer of `capacity` characters. Never
// writes past the buffer: a longer result is cut and always terminated.
// Returns the number of characters stored (without the terminator).
int FormatBoundedV(wchar_t* buffer, size_t capacity, LPCWSTR format, va_list args);
int __cdecl FormatBounded(wchar_t* buffer, size_t capacity, LPCWSTR format, ...);

// Copies at most capacity - 1 characters and terminates; null source gives "".
// Returns the number of characters stored.
int CopyBounded(wchar_t* buffer, size_t capacity, LPCWSTR source);

// Case mapping defined for every 16-bit code unit.
wchar_t UpperChar(wchar_t ch);
wchar_t LowerChar(wchar_t ch);

namespace ValueSyntax {

// Decimal integer: leading whitespace and a sign allowed, stops at the first
// non-digit, no digits gives 0. `end` (optional) receives the stop position.
long ParseInt(LPCWSTR text, LPCWSTR* end = nullptr);

// Exactly "true" (case-sensitive) is true; anything else, null included, false.
bool ParseBool(LPCWSTR text);

// Colour 0xAARRGGBB written as hexadecimal with an optional leading "#" (and
// an optional "0x"). With skipLeadingBlanks, characters with codes 1..32 in
// front are skipped first; otherwise only a "#" at the very start is.
DWORD ParseColor(LPCWSTR text, bool skipLeadingBlanks = true);

// `count` decimal numbers, each separated from the previous one by exactly
// one character of any kind ("l,t,r,b"). Numbers missing because the text
// ends are set to 0; returns how many were read before the text ended.
int ParseNumberList(LPCWSTR text, long* values, int count);

// Four numbers left, top, right, bottom.
RECT ParseRect(LPCWSTR text);
// Two numbers cx, cy.
SIZE ParseSize(LPCWSTR text);

}  // namespace ValueSyntax
}  // namespace Veneer
