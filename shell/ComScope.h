#pragma once
// COM and OLE for the user-interface thread, ended in reverse order however
// start-up leaves.
#include <windows.h>
#include <ole2.h>

class CComScope {
public:
    CComScope()
    {
        // Each successful call, S_FALSE included, needs its matching end.
        m_bCom = SUCCEEDED(::CoInitialize(nullptr));
        m_bOle = SUCCEEDED(::OleInitialize(nullptr));
    }
    ~CComScope()
    {
        if (m_bOle) ::OleUninitialize();
        if (m_bCom) ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

    bool IsComReady() const { return m_bCom; }
    bool IsOleReady() const { return m_bOle; }

private:
    bool m_bCom { false };
    bool m_bOle { false };
};
