// UrlLogger LOGFILE ADDRESS...: appends each address as one UTF-8 line to
// LOGFILE. Registered as the test prefix's http handler, it shows a test
// which addresses were opened "in the default browser".
#include <windows.h>
#include <shellapi.h>

#include <string>
#include "Utf8Text.h"

namespace {

using ToolText::Utf8;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 3) {
        if (args) {
            LocalFree(args);
        }
        return 2;
    }
    std::string lines;
    for (int i = 2; i < count; ++i) {
        lines += Utf8(args[i]) + "\n";
    }
    // Several openers may race: retry while another one holds the file.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 50 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileW(args[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(20);
        }
    }
    LocalFree(args);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == lines.size() ? 0 : 1;
}
