#pragma once
#include "foundation/VeneerApi.h"
// CWebBrowserUI: the platform web browser object hosted in the control tree,
// reporting its navigation to a CWebBrowserEventHandler.
// CWebBrowser2UI: a code-only variant with its own event sink.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <downloadmgr.h>

#include "hosting/ActiveXUI.h"

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

class VENEER_API CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void SetHomePage(LPCWSTR lpszUrl);
    LPCWSTR GetHomePage() const;
    void SetAutoNavigation(bool bAuto = true);
    bool IsAutoNavigation() const;
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler);
    CWebBrowserEventHandler* GetWebBrowserEventHandler() const { return m_pWebBrowserEventHandler; }

    void Navigate2(LPCWSTR lpszUrl);
    void NavigateUrl(LPCWSTR lpszUrl);
    void NavigateHomePage();
    void Refresh();
    void Refresh2(int Level);
    void GoBack();
    void GoForward();

    // Not add-referenced.
    IWebBrowser2* GetWebBrowser2() const;
    // Add-referenced; null when there is no page.
    IDispatch* GetHtmlWindow();

    static DISPID FindId(IDispatch* pObj, LPOLESTR pName);
    static HRESULT InvokeMethod(IDispatch* pObj, LPOLESTR pMethod, VARIANT* pVarResult,
        VARIANT* ps, int cArgs);
    static HRESULT GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);
    static HRESULT SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);

    // IUnknown
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    // IDispatch: the browser's events.
    STDMETHOD(GetTypeInfoCount)(UINT* iTInfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
        DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
        IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
        IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dwReserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

    // IServiceProvider
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override;

    // IOleCommandTarget
    STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
        OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANTARG* pvaIn,
        VARIANTARG* pvaOut) override;

    // The download manager handed out by QueryService.
    virtual HRESULT STDMETHODCALLTYPE Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb,
        LONG grfBINDF, BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP);

    // ITranslateAccelerator of the paint manager.
    LRESULT TranslateAccelerator(MSG* pMsg) override;

protected:
    bool DoCreateControl() override;
    void ReleaseControl() override;
    HRESULT RegisterEventHandler(BOOL inAdvise);

    // Event bodies; the arguments are checked by Invoke.
    void BeforeNavigate2(DISPPARAMS& params);
    void NavigateError(DISPPARAMS& params);
    void NavigateComplete2(DISPPARAMS& params);
    void DocumentComplete(DISPPARAMS& params);
    void NewWindow3(DISPPARAMS& params);
    void CommandStateChange(DISPPARAMS& params);

    IWebBrowser2* m_pWebBrowser2 { nullptr };
    IHTMLWindow2* _pHtmlWnd2 { nullptr };
    LONG m_dwRef { 0 };
    DWORD m_dwCookie { 0 };
    CStdString m_sHomePage;
    bool m_bAutoNavi { false };
    CWebBrowserEventHandler* m_pWebBrowserEventHandler { nullptr };

private:
    // The download manager handed to the page. A companion with its own
    // count: the page may keep it after the control is gone, and then finds
    // nobody behind it.
    class CDownloadManagerFace : public IDownloadManager {
    public:
        explicit CDownloadManagerFace(CWebBrowserUI* pOwner) : m_pOwner(pOwner) {}
        virtual ~CDownloadManagerFace() = default;
        void ClearOwner() { m_pOwner = nullptr; }
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
        STDMETHOD(Download)(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
            BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP) override;

    private:
        LONG m_dwRef { 1 };
        CWebBrowserUI* m_pOwner { nullptr };
    };

    CDownloadManagerFace* m_pDownloadManager { nullptr };
    bool m_bAcceleratorAdded { false };
};

class CWebBrowser2UI;

// The page host handler installed by CWebBrowser2UI's sink.
class VENEER_API CDocHostUIHandler : public IDocHostUIHandler2, public IOleCommandTarget {
public:
    CDocHostUIHandler(bool bBorder, bool bScrollBar);
    virtual ~CDocHostUIHandler() = default;

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
        IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
        IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dwReserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;
    STDMETHOD(GetOverrideKeyPath)(LPOLESTR* pchKey, DWORD dw) override;

    STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
        OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANTARG* pvaIn,
        VARIANTARG* pvaOut) override;

private:
    LONG m_dwRef { 1 };
    bool m_bBorder { false };
    bool m_bScrollBar { false };
};

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

// A browser control built by code only; reports finished pages with the
// notification "HTML_COMPLETE" (wParam: the narrow address, lParam: 1 when
// a navigation error happened on the way).
class VENEER_API CWebBrowser2UI : public CActiveXUI {
public:
    CWebBrowser2UI();
    ~CWebBrowser2UI() override;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // A null address means the start address.
    void Navigate2(LPCWSTR lpszUrl = nullptr);
    IWebBrowser2* GetWebBrowser2() const { return m_pWebBrowser2; }
    void SetUrl(LPCWSTR lpszUrl) { m_sUrl = lpszUrl != nullptr ? lpszUrl : L""; }
    CStdString GetUrl() const { return m_sUrl; }
    void SetAutoNavigate(bool bAuto) { m_bAutoNavigate = bAuto; }
    void SetAutoSink(bool bAuto) { m_bAutoSink = bAuto; }
    void SetBorder(bool bBorder) { m_bBorder = bBorder; }
    void SetScrollBar(bool bScrollBar) { m_bScrollBar = bScrollBar; }

protected:
    bool DoCreateControl() override;
    void ReleaseControl() override;

    IWebBrowser2* m_pWebBrowser2 { nullptr };
    CStdString m_sUrl;
    bool m_bAutoNavigate { true };
    bool m_bAutoSink { true };
    WebBrowserEventSinker* m_pSinker { nullptr };
    bool m_bBorder { false };
    bool m_bScrollBar { false };
};

}  // namespace Veneer
