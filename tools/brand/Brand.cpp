// The operators' branding tool: a copy of a built client with its
// configuration document, skin archive and icon replaced. Every input is
// checked first, the way the client will read it; on any problem nothing is
// written. scripts/brand.sh adds the skin check and stamps the addresses last.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AddressTrailer.h"
#include "ConfigCheck.h"
#include "IconFile.h"
#include "ResourceWriter.h"
#include "Utf8Text.h"

using namespace Brand;

namespace {

using ToolText::Print;

int Usage()
{
    Print(stderr, L"usage: brand write IN.exe OUT.exe [--config config.xml] [--skin skin.zip] [--icon app.ico]\n"
                  L"                   [--addresses \"LOGIN|SERVICE\"]   (checked only; brand.sh stamps them)\n"
                  L"       brand dump EXE FOLDER   (config.xml, skin.zip and icon.ico of a built client)\n");
    return 2;
}

// Files of a few megabytes at most: the client carries them in memory.
bool ReadWhole(const std::wstring& path, std::vector<BYTE>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    DWORD got = 0;
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < (64 << 20);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                               got == bytes.size());
    }
    ::CloseHandle(file);
    return ok;
}

bool WriteWhole(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

std::wstring BaseName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::string Narrow(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t ch : text) bytes.push_back(ch < 0x100 ? static_cast<char>(ch) : '\x80');
    return bytes;
}

int Write(int argc, wchar_t** argv)
{
    const std::wstring in = argv[2];
    const std::wstring out = argv[3];
    std::wstring config, skin, icon, addresses;
    bool hasAddresses = false;
    for (int i = 4; i < argc; i += 2) {
        if (i + 1 >= argc) return Usage();
        const std::wstring option = argv[i];
        if (option == L"--config") config = argv[i + 1];
        else if (option == L"--skin") skin = argv[i + 1];
        else if (option == L"--icon") icon = argv[i + 1];
        else if (option == L"--addresses") { addresses = argv[i + 1]; hasAddresses = true; }
        else return Usage();
    }

    std::vector<std::wstring> problems;
    std::vector<BYTE> configBytes, skinBytes, iconBytes, inBytes;
    std::vector<IconImage> iconImages;
    if (!ReadWhole(in, inBytes)) problems.push_back(in + L": cannot be read");
    if (!config.empty()) {
        if (!ReadWhole(config, configBytes)) {
            problems.push_back(config + L": cannot be read");
        } else {
            for (const std::wstring& line : CheckConfig(configBytes, BaseName(config))) problems.push_back(line);
        }
    }
    if (!skin.empty() && (!ReadWhole(skin, skinBytes) || skinBytes.empty()))
        problems.push_back(skin + L": cannot be read");
    if (!icon.empty()) {
        std::wstring why;
        if (!ReadWhole(icon, iconBytes)) problems.push_back(icon + L": cannot be read");
        else if (!ReadIconFile(iconBytes, iconImages, why)) problems.push_back(BaseName(icon) + L": " + why);
    }
    if (hasAddresses) {
        const std::string refusal = AddressTrailer::RefusalOf(Narrow(addresses));
        if (!refusal.empty()) problems.push_back(L"--addresses: " + std::wstring(refusal.begin(), refusal.end()));
    }
    if (!problems.empty()) {
        for (const std::wstring& line : problems) Print(stdout, line + L"\n");
        Print(stderr, L"brand: refused; nothing was written\n");
        return 1;
    }

    if (!WriteWhole(out, inBytes)) {
        Print(stderr, L"brand: cannot write " + out + L"\n");
        return 1;
    }
    Replacement replacement;
    replacement.config = config.empty() ? nullptr : &configBytes;
    replacement.skin = skin.empty() ? nullptr : &skinBytes;
    replacement.icon = icon.empty() ? nullptr : &iconImages;
    std::wstring why;
    if (!ReplaceResources(out, replacement, why)) {
        ::DeleteFileW(out.c_str());
        Print(stderr, L"brand: " + why + L"; nothing was written\n");
        return 1;
    }
    return 0;
}

int Dump(const std::wstring& exe, const std::wstring& folder)
{
    std::vector<BYTE> config, skin, icon;
    const bool ok = ReadResource(exe, L"XML", MAKEINTRESOURCEW(104), config) &&
                    ReadResource(exe, L"ZIPRES", MAKEINTRESOURCEW(101), skin) && ReadIconGroup(exe, 103, icon) &&
                    WriteWhole(folder + L"\\config.xml", config) && WriteWhole(folder + L"\\skin.zip", skin) &&
                    WriteWhole(folder + L"\\icon.ico", icon);
    if (!ok) Print(stderr, L"brand: cannot read the resources of " + exe + L"\n");
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 4 && std::wstring(argv[1]) == L"write") return Write(argc, argv);
    if (argc == 4 && std::wstring(argv[1]) == L"dump") return Dump(argv[2], argv[3]);
    return Usage();
}
