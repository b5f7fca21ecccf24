#include "MicroClientConfig.h"
#include "AddressTrailer.h"
#include "foundation/HandleHolder.h"
#include "foundation/ValueSyntax.h"
#include <cstdint>
#include <cwchar>

using Veneer::CHandleHolder;
using Veneer::CMarkup;
using Veneer::CMarkupNode;
using Veneer::ValueSyntax::ParseRect;
using Veneer::ValueSyntax::ParseSize;

namespace {

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
    // The parser decodes into a buffer of its own; the read-only resource is only read.
    return document.LoadFromMem(static_cast<const BYTE*>(bytes), size, 0);
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
        config.loginWebRect = ParseRect(value);
    } else if (wcscmp(key, L"closeRect") == 0) {
        config.closeRect = ParseRect(value);
    } else if (wcscmp(key, L"miniRect") == 0) {
        config.miniRect = ParseRect(value);
    } else if (wcscmp(key, L"loginFrameSize") == 0) {
        config.loginFrameSize = ParseSize(value);
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
    CHandleHolder file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) {
        std::wstring text = L"资源文件不存在，打开错误";
        if (path != nullptr) text += path;
        ::MessageBoxW(nullptr, text.c_str(), L"提示", MB_OK);
        return std::string();
    }

    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return std::string();
    std::uint64_t start = 0;
    if (!AddressTrailer::FindSectionsEnd(ReadFileAt, file.Get(), static_cast<std::uint64_t>(size.QuadPart), start))
        return std::string();

    char buffer[AddressTrailer::kReadBytes] = {};
    DWORD got = 0;
    if (!SeekTo(file.Get(), start) || !::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
        return std::string();
    return AddressTrailer::TextOf(buffer, got);
}

std::vector<std::string> SplitText(const std::string& text, const std::string& separators)
{
    return AddressTrailer::SplitText(text, separators);
}

std::wstring WidenTrailerText(const std::string& text)
{
    return AddressTrailer::Widen(text);
}

std::wstring TrailerAddress(const std::string& trailer, size_t piece)
{
    return AddressTrailer::Address(trailer, piece);
}

std::wstring ReadTrailerAddress(size_t piece)
{
    wchar_t path[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return std::wstring();
    return TrailerAddress(ReadAddressTrailer(path), piece);
}
