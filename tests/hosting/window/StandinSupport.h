#pragma once
// Helpers for tests over the stand-in browser object (tools/standin-browser),
// taken from its module so the prefix's registration stays untouched, with
// pages from the demo server.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/PaintManagerUI.h"
#include "support/TestSupport.h"

namespace HostingTest {

inline std::string ReadText(const std::wstring& path)
{
    std::vector<unsigned char> bytes = TestSupport::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline std::wstring ServerUrl(const std::wstring& path)
{
    std::string port = ReadText(TestSupport::BuildPath(L"demo-server/port"));
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
    return L"http://127.0.0.1:" + std::wstring(port.begin(), port.end()) + path;
}

inline std::wstring StandinModule()
{
    std::wstring path = TestSupport::BuildPath(L"tools/standin-browser/StandinBrowser.dll");
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

inline bool Has(const std::vector<std::wstring>& list, const std::wstring& part)
{
    for (const auto& item : list) {
        if (item.find(part) != std::wstring::npos) return true;
    }
    return false;
}

inline int CountOf(const std::vector<std::wstring>& list, const std::wstring& part)
{
    int count = 0;
    for (const auto& item : list) {
        if (item.find(part) != std::wstring::npos) ++count;
    }
    return count;
}

// The page view the browser draws into.
inline HWND FindView(HWND parent)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(child, cls, 64);
        if (std::wstring(cls) == L"Internet Explorer_Server") return child;
        HWND inner = FindView(child);
        if (inner != nullptr) return inner;
    }
    return nullptr;
}

// Sinks connected to the browser's DWebBrowserEvents2 point; -1 when they
// cannot be counted.
inline int EventConnections(IWebBrowser2* browser)
{
    static const IID kEvents = { 0x34A715A0, 0x6587, 0x11D0, { 0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D } };
    if (browser == nullptr) return -1;
    IConnectionPointContainer* container = nullptr;
    if (FAILED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
        return -1;
    }
    int count = -1;
    IConnectionPoint* point = nullptr;
    if (SUCCEEDED(container->FindConnectionPoint(kEvents, &point)) && point != nullptr) {
        IEnumConnections* connections = nullptr;
        if (SUCCEEDED(point->EnumConnections(&connections)) && connections != nullptr) {
            count = 0;
            CONNECTDATA item = {};
            ULONG fetched = 0;
            while (connections->Next(1, &item, &fetched) == S_OK && fetched == 1) {
                item.pUnk->Release();
                ++count;
            }
            connections->Release();
        }
        point->Release();
    }
    container->Release();
    return count;
}

// What the page's body says about its scroll bar and border.
struct BodyLook {
    bool read { false };
    std::wstring scroll;
    std::wstring overflow;
    std::wstring border;
};

inline std::wstring TakeText(BSTR text)
{
    std::wstring value = text != nullptr ? std::wstring(text) : std::wstring();
    ::SysFreeString(text);
    return value;
}

inline BodyLook ReadBodyLook(IWebBrowser2* browser)
{
    static const IID kDocument2 = { 0x332C4425, 0x26CB, 0x11D0, { 0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19 } };
    static const IID kBodyElement = { 0x3050F1D8, 0x98B5, 0x11CF, { 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B } };
    BodyLook look;
    IDispatch* dispatch = nullptr;
    if (browser == nullptr || FAILED(browser->get_Document(&dispatch)) || dispatch == nullptr) return look;
    IHTMLDocument2* document = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(kDocument2, reinterpret_cast<void**>(&document))) && document != nullptr) {
        IHTMLElement* body = nullptr;
        if (SUCCEEDED(document->get_body(&body)) && body != nullptr) {
            look.read = true;
            IHTMLBodyElement* bodyElement = nullptr;
            if (SUCCEEDED(body->QueryInterface(kBodyElement, reinterpret_cast<void**>(&bodyElement))) &&
                bodyElement != nullptr) {
                BSTR text = nullptr;
                bodyElement->get_scroll(&text);
                look.scroll = TakeText(text);
                bodyElement->Release();
            }
            IHTMLStyle* style = nullptr;
            if (SUCCEEDED(body->get_style(&style)) && style != nullptr) {
                BSTR text = nullptr;
                style->get_overflow(&text);
                look.overflow = TakeText(text);
                text = nullptr;
                style->get_border(&text);
                look.border = TakeText(text);
                style->Release();
            }
            body->Release();
        }
        document->Release();
    }
    dispatch->Release();
    return look;
}

// Runs this thread's messages through the framework's pre-translation first,
// as CPaintManagerUI::MessageLoop does, until done() holds or the time is up.
inline bool PumpThroughFramework(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg = {};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Veneer::CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A key press as the keyboard driver posts it to the focused window.
inline void PostKey(HWND target, UINT vk)
{
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageW(target, WM_KEYUP, vk, scan | static_cast<LPARAM>(0xC0000001UL));
}

}  // namespace HostingTest
