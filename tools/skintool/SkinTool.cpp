// The skin authors' tool: checks a skin through the framework's own
// builder and prints every problem as file:line: message, or paints one
// skin file off-screen into a PNG.
#include <windows.h>

#include <cstdio>
#include <string>

#include "SkinRender.h"
#include "SkinWindow.h"
#include "engine/PaintManagerUI.h"
#include "Utf8Text.h"

using namespace SkinTool;

namespace {

enum { kClean = 0, kProblems = 1, kUnreadable = 2 };

using ToolText::Print;

int Usage()
{
    Print(stderr,
          L"usage: skintool check SKIN ROOT.xml\n"
          L"       skintool render SKIN FILE.xml OUT.png [--size WxH] [--hot NAME] [--pushed NAME]\n"
          L"SKIN is a folder or a zip archive. check exits 0 when the skin is clean, 1 when it\n"
          L"found problems (printed as file:line: message), 2 when it could not read the skin.\n");
    return kUnreadable;
}

int Check(const std::wstring& skin, const std::wstring& root)
{
    std::wstring why;
    if (!OpenSkin(skin, root, why)) {
        Print(stderr, L"skintool: cannot read the skin: " + why + L"\n");
        return kUnreadable;
    }
    SkinWindow window;
    window.Build(root);
    Print(stdout, window.Problems().Text());
    if (window.Problems().Count() > 0) {
        Print(stderr, std::to_wstring(window.Problems().Count()) + L" problem(s) in " + root + L"\n");
        return kProblems;
    }
    if (window.Root() == nullptr) {
        Print(stdout, root + L":0: the skin builds no control\n");
        return kProblems;
    }
    return kClean;
}

bool ParseSizeArgument(const std::wstring& text, SIZE& size)
{
    int width = 0;
    int height = 0;
    wchar_t rest = 0;
    if (swscanf(text.c_str(), L"%dx%d%lc", &width, &height, &rest) != 2 || width <= 0 || height <= 0) return false;
    size.cx = width;
    size.cy = height;
    return true;
}

int Render(int argc, wchar_t** argv)
{
    const std::wstring skin = argv[2];
    const std::wstring file = argv[3];
    const std::wstring png = argv[4];
    RenderOptions options;
    for (int i = 5; i < argc; i += 2) {
        const std::wstring option = argv[i];
        if (i + 1 >= argc) return Usage();
        const std::wstring value = argv[i + 1];
        if (option == L"--size") {
            if (!ParseSizeArgument(value, options.size)) return Usage();
        } else if (option == L"--hot") {
            options.hot = value;
        } else if (option == L"--pushed") {
            options.pushed = value;
        } else {
            return Usage();
        }
    }
    std::wstring why;
    if (!OpenSkin(skin, file, why)) {
        Print(stderr, L"skintool: cannot read the skin: " + why + L"\n");
        return kUnreadable;
    }
    SkinWindow window;
    window.Build(file);
    // Problems do not stop the picture: it shows what the client would show.
    Print(stderr, window.Problems().Text());
    if (!RenderSkin(window, options, png, why)) {
        Print(stderr, L"skintool: " + why + L"\n");
        return kProblems;
    }
    return kClean;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    ::OleInitialize(nullptr);
    Veneer::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    int result = kUnreadable;
    if (argc == 4 && std::wstring(argv[1]) == L"check") {
        result = Check(argv[2], argv[3]);
    } else if (argc >= 5 && std::wstring(argv[1]) == L"render") {
        result = Render(argc, argv);
    } else {
        result = Usage();
    }
    ::OleUninitialize();
    return result;
}
