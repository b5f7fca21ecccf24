#pragma once
// Wide text as UTF-8, for the tools that print to a pipe or write a log.
#include <windows.h>

#include <cstdio>
#include <string>

namespace ToolText {

inline std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

// Flushed at once: the scripts read stdout and stderr of one run together.
inline void Print(FILE* stream, const std::wstring& text)
{
    const std::string bytes = Utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

}  // namespace ToolText
