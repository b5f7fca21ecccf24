// The client's entry point: one copy at a time, the login frame, the message loop.
#include <windows.h>

#include "ComScope.h"
#include "LoginFrame.h"
#include "MicroClientConfig.h"
#include "SingleInstance.h"
#include "engine/PaintManagerUI.h"
#include "foundation/Markup.h"

using namespace Veneer;

namespace {
const DWORD kLoginFrameStyle = 0x96C80000;
// "微端已经运行了。" / "提示"
const wchar_t kAlreadyRunning[] = L"\u5FAE\u7AEF\u5DF2\u7ECF\u8FD0\u884C\u4E86\u3002";
const wchar_t kNoticeCaption[] = L"\u63D0\u793A";
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    const CComScope com;
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourceDll(instance);

    CMarkup document;
    CMicroClientConfig& config = GetClientConfig();
    if (LoadClientConfigResource(document, instance))
        LoadClientConfig(document, config);

    CMicroClientLogin* login = GetLoginFrame();
    if (login == nullptr) return -1;

    const CSingleInstance instanceMarker(config.clientName.GetData());
    if (instanceMarker.IsAnotherRunning()) {
        ::MessageBoxW(nullptr, kAlreadyRunning, kNoticeCaption, MB_ICONINFORMATION);
        return 0;
    }

    login->Create(nullptr, L"Tarrowin", kLoginFrameStyle, 0, 0, 0, 0, 0, nullptr);
    login->CenterWindow();
    ::ShowWindow(login->GetHWND(), SW_SHOWNORMAL);

    CPaintManagerUI::MessageLoop();
    return 0;
}
