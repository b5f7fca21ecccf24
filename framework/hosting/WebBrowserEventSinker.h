#pragma once
#include "foundation/VeneerApi.h"
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

namespace Veneer {

class CWebBrowser2UI;

// The event sink of CWebBrowser2UI.
class VENEER_API WebBrowserEventSinker : public IDispatch {
public:
    explicit WebBrowserEventSinker(CWebBrowser2UI* pOwner);
    virtual ~WebBrowserEventSinker();

    void SetBorder(bool bBorder) { m_bBorder = bBorder; }
    void SetScrollBar(bool bScrollBar) { m_bScrollBar = bScrollBar; }
    HRESULT Connect(IWebBrowser2* pBrowser);
    void Disconnect();
    // Called by the owner when it goes; later events are ignored.
    void ClearOwner() { m_pOwner = nullptr; }

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD(GetTypeInfoCount)(UINT* iTInfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
        DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    void OnNavigateComplete(DISPPARAMS& params);
    void OnDocumentComplete(DISPPARAMS& params);

    LONG m_dwRef { 1 };
    CWebBrowser2UI* m_pOwner { nullptr };
    IConnectionPoint* m_pConnectionPoint { nullptr };
    DWORD m_dwCookie { 0 };
    bool m_bBorder { false };
    bool m_bScrollBar { false };
    bool m_bNavigateError { false };
};

}  // namespace Veneer
