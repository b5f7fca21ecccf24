#include "MicroClientConfig.h"
#include "ImageSections.h"
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>

using Veneer::CMarkup;
using Veneer::CMarkupNode;

namespace {

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\v' || ch == L'\f' || ch == L'\r';
}

// Reads one base-10 number the way wcstol does (blanks, sign, digits,
// saturating at the 32-bit limits). Returns where reading stopped: where it
// began when there was no digit.
const wchar_t* ReadNumber(const wchar_t* start, long& number)
{
    const wchar_t* p = start;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    if (*p < L'0' || *p > L'9') {
        number = 0;
        return start;
    }
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        if (magnitude < limit) magnitude = std::min(limit, magnitude * 10 + (*p - L'0'));
    }
    number = static_cast<long>(negative ? -magnitude : magnitude);
    return p;
}

// "a,b,c": each number starts one character (any character) after the previous
// one stopped; numbers missing at the end are 0, text after the last is ignored.
void ReadNumberList(const wchar_t* text, long* numbers, int count)
{
    const wchar_t* p = text;
    for (int i = 0; i < count; ++i) {
        numbers[i] = 0;
        if (p == nullptr) continue;
        p = ReadNumber(p, numbers[i]);
        p = *p != 0 ? p + 1 : nullptr;
    }
}

void ReadRect(const wchar_t* text, RECT& rect)
{
    long numbers[4] = {};
    ReadNumberList(text, numbers, 4);
    rect.left = numbers[0];
    rect.top = numbers[1];
    rect.right = numbers[2];
    rect.bottom = numbers[3];
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle()
    {
        if (IsOpen()) ::CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle { INVALID_HANDLE_VALUE };
};

bool SeekTo(HANDLE file, std::uint64_t offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

bool ReadFileAt(void* context, std::uint64_t offset, void* buffer, std::size_t count)
{
    HANDLE file = static_cast<HANDLE>(context);
    DWORD got = 0;
    return SeekTo(file, offset) &&
           ::ReadFile(file, buffer, static_cast<DWORD>(count), &got, nullptr) && got == count;
}

}  // namespace

CMicroClientConfig& GetClientConfig()
{
    static CMicroClientConfig config;
    return config;
}

bool LoadClientConfigResource(CMarkup& document, HMODULE module)
{
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(104), L"xml");
    if (resource == nullptr) return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (loaded == nullptr) return false;
    const void* bytes = ::LockResource(loaded);
    const DWORD size = ::SizeofResource(module, resource);
    if (bytes == nullptr || size == 0) return false;
    // Resource memory is read-only; the parser is handed a copy it may write to.
    std::vector<BYTE> copy(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
    return document.LoadFromMem(copy.data(), size, 0);
}

bool LoadClientConfig(CMarkup& document, CMicroClientConfig& config)
{
    if (!document.IsValid()) return false;
    for (CMarkupNode node = document.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        // Only a `value` that comes first counts, as the shipped documents write it.
        if (wcscmp(node.GetAttributeName(0), L"value") != 0) continue;
        ApplyConfigKey(config, node.GetName(), node.GetAttributeValue(0));
    }
    return true;
}

void ApplyConfigKey(CMicroClientConfig& config, LPCWSTR key, LPCWSTR value)
{
    if (key == nullptr) return;
    if (value == nullptr) value = L"";
    if (wcscmp(key, L"loginWebRect") == 0) {
        ReadRect(value, config.loginWebRect);
    } else if (wcscmp(key, L"closeRect") == 0) {
        ReadRect(value, config.closeRect);
    } else if (wcscmp(key, L"miniRect") == 0) {
        ReadRect(value, config.miniRect);
    } else if (wcscmp(key, L"loginFrameSize") == 0) {
        long numbers[2] = {};
        ReadNumberList(value, numbers, 2);
        config.loginFrameSize.cx = numbers[0];
        config.loginFrameSize.cy = numbers[1];
    } else if (wcscmp(key, L"loginURL") == 0) {
        config.loginURL = value;
    } else if (wcscmp(key, L"playGamekeyWord") == 0) {
        config.playGamekeyWord = value;
    } else if (wcscmp(key, L"clientName") == 0) {
        config.clientName = value;
    }
}

std::string ReadAddressTrailer(LPCWSTR path)
{
    const size_t kTrailerBytes = 256;
    FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsOpen()) {
        std::wstring text = L"资源文件不存在，打开错误";
        if (path != nullptr) text += path;
        ::MessageBoxW(nullptr, text.c_str(), L"提示", MB_OK);
        return std::string();
    }

    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return std::string();
    std::uint64_t start = 0;
    if (!ImageSections::FindSectionsEnd(ReadFileAt, file.Get(), static_cast<std::uint64_t>(size.QuadPart), start))
        return std::string();

    char buffer[kTrailerBytes + 1] = {};
    DWORD got = 0;
    if (!SeekTo(file.Get(), start) || !::ReadFile(file.Get(), buffer, kTrailerBytes, &got, nullptr))
        return std::string();
    // The extra zero byte ends a trailer that fills all 256 bytes.
    return std::string(buffer);
}

std::vector<std::string> SplitText(const std::string& text, const std::string& separators)
{
    std::vector<std::string> pieces;
    if (separators.empty()) return pieces;
    size_t cut = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && separators.find(text[i]) == std::string::npos) continue;
        if (i > cut) pieces.push_back(text.substr(cut, i - cut));
        cut = i + 1;
    }
    return pieces;
}
