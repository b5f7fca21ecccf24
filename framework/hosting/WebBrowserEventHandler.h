#pragma once
#include "foundation/VeneerApi.h"
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <downloadmgr.h>

#include "foundation/StdString.h"

namespace Veneer {

// The callbacks through which browser events reach the application. The
// address and the cancel flag are passed by reference, so a handler may
// change them.
class VENEER_API CWebBrowserEventHandler {
public:
    CWebBrowserEventHandler() = default;
    virtual ~CWebBrowserEventHandler() = default;

    virtual void BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT*& /*url*/, VARIANT*& /*Flags*/,
        VARIANT*& /*TargetFrameName*/, VARIANT*& /*PostData*/, VARIANT*& /*Headers*/,
        VARIANT_BOOL*& /*Cancel*/) {}
    virtual void NavigateError(IDispatch* /*pDisp*/, VARIANT*& /*url*/,
        VARIANT*& /*TargetFrameName*/, VARIANT*& /*StatusCode*/, VARIANT_BOOL*& /*Cancel*/) {}
    virtual void NavigateComplete2(IDispatch* /*pDisp*/, VARIANT*& /*url*/,
        const CStdString& /*sName*/) {}
    virtual void ProgressChange(LONG /*nProgress*/, LONG /*nProgressMax*/) {}
    virtual void NewWindow3(IDispatch** /*pDisp*/, VARIANT_BOOL*& /*Cancel*/, DWORD /*dwFlags*/,
        BSTR /*bstrUrlContext*/, BSTR /*bstrUrl*/) {}
    virtual void CommandStateChange(long /*Command*/, VARIANT_BOOL /*Enable*/) {}

    // Host UI handling; the defaults suppress the page's context menu.
    virtual HRESULT ShowContextMenu(DWORD /*dwID*/, POINT* /*pptPosition*/,
        IUnknown* /*pCommandTarget*/, IDispatch* /*pDispatchObjectHit*/)
    {
        return S_OK;
    }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo)
    {
        if (pInfo != nullptr) pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
        return S_OK;
    }
    virtual HRESULT ShowUI(DWORD /*dwID*/, IOleInPlaceActiveObject* /*pActiveObject*/,
        IOleCommandTarget* /*pCommandTarget*/, IOleInPlaceFrame* /*pFrame*/,
        IOleInPlaceUIWindow* /*pDoc*/)
    {
        return S_FALSE;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL /*fEnable*/) { return S_OK; }
    virtual HRESULT OnDocWindowActivate(BOOL /*fActivate*/) { return S_OK; }
    virtual HRESULT OnFrameWindowActivate(BOOL /*fActivate*/) { return S_OK; }
    virtual HRESULT ResizeBorder(LPCRECT /*prcBorder*/, IOleInPlaceUIWindow* /*pUIWindow*/,
        BOOL /*fFrameWindow*/)
    {
        return S_OK;
    }
    virtual HRESULT TranslateAccelerator(LPMSG /*lpMsg*/, const GUID* /*pguidCmdGroup*/,
        DWORD /*nCmdID*/)
    {
        return S_FALSE;
    }
    virtual HRESULT GetOptionKeyPath(LPOLESTR* /*pchKey*/, DWORD /*dw*/) { return S_OK; }
    virtual HRESULT GetDropTarget(IDropTarget* /*pDropTarget*/, IDropTarget** /*ppDropTarget*/)
    {
        return E_NOTIMPL;
    }
    virtual HRESULT GetExternal(IDispatch** /*ppDispatch*/) { return E_NOTIMPL; }
    virtual HRESULT TranslateUrl(DWORD /*dwTranslate*/, OLECHAR* /*pchURLIn*/,
        OLECHAR** /*ppchURLOut*/)
    {
        return S_OK;
    }
    virtual HRESULT FilterDataObject(IDataObject* /*pDO*/, IDataObject** /*ppDORet*/)
    {
        return S_OK;
    }
    // Download manager.
    virtual HRESULT Download(IMoniker* /*pmk*/, IBindCtx* /*pbc*/, DWORD /*dwBindVerb*/,
        LONG /*grfBINDF*/, BINDINFO* /*pBindInfo*/, LPCOLESTR /*pszHeaders*/,
        LPCOLESTR /*pszRedir*/, UINT /*uiCP*/)
    {
        return S_OK;
    }
};

}  // namespace Veneer
