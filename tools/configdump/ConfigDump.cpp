// Prints the client configuration the way start-up reads it: from a given
// configuration document, or from resource 104 of this executable, plus the
// address trailer of this executable when it carries one.
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "AddressTrailer.h"
#include "MicroClientConfig.h"
#include "Utf8Text.h"

using Veneer::CMarkup;

namespace {

void Print(const std::wstring& text) { ToolText::Print(stdout, text); }

std::wstring Rect(const RECT& rc)
{
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

bool LoadFile(CMarkup& document, const wchar_t* path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    std::vector<BYTE> bytes;
    DWORD got = 0;
    // Configuration documents are a few hundred bytes; refuse anything absurd.
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 20);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        ok = ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    ::CloseHandle(file);
    return ok && document.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CMarkup document;
    std::wstring source;
    bool loaded = false;
    if (argc > 1) {
        source = argv[1];
        loaded = LoadFile(document, argv[1]);
    } else {
        source = L"resource 104 of this executable";
        loaded = LoadClientConfigResource(document, ::GetModuleHandleW(nullptr));
    }
    CMicroClientConfig& config = GetClientConfig();
    LoadClientConfig(document, config);
    if (!loaded) {
        wchar_t message[100] = {};
        document.GetLastErrorMessage(message, 100);
        Print(L"could not read " + source + (message[0] ? L": " + std::wstring(message) : L"") +
              L"; the defaults follow\n");
    } else {
        Print(L"configuration read from " + source + L"\n");
    }
    Print(L"  loginFrameSize   " + std::to_wstring(config.loginFrameSize.cx) + L"," +
          std::to_wstring(config.loginFrameSize.cy) + L"\n");
    Print(L"  loginWebRect     " + Rect(config.loginWebRect) + L"\n");
    Print(L"  miniRect         " + Rect(config.miniRect) + L"\n");
    Print(L"  closeRect        " + Rect(config.closeRect) + L"\n");
    Print(L"  loginURL         " + std::wstring(config.loginURL.GetData()) + L"\n");
    Print(L"  playGamekeyWord  " + std::wstring(config.playGamekeyWord.GetData()) + L"\n");
    Print(L"  clientName       " + std::wstring(config.clientName.GetData()) + L"\n");

    wchar_t self[260] = {};
    ::GetModuleFileNameW(nullptr, self, 260);
    const std::string trailer = ReadAddressTrailer(self);
    if (trailer.find(AddressTrailer::kSeparator) == std::string::npos) {
        Print(L"address trailer: none (stamp one with: trailer set EXE \"LOGIN|SERVICE\")\n");
    } else {
        const std::wstring service = AddressTrailer::Address(trailer, 1);
        Print(L"address trailer\n");
        Print(L"  login page       " + AddressTrailer::Address(trailer, 0) + L"\n");
        Print(L"  customer service " + (service.empty() ? std::wstring(L"(none)") : service) + L"\n");
    }
    return loaded ? 0 : 1;
}
