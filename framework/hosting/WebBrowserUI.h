#pragma once
#include "foundation/VeneerApi.h"
// CWebBrowserUI: the platform web browser object hosted in the control tree,
// reporting its navigation to a CWebBrowserEventHandler.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <downloadmgr.h>

#include "hosting/ActiveXUI.h"
#include "hosting/WebBrowserEventHandler.h"

namespace Veneer {

class CDownloadManagerFace;

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
    CDownloadManagerFace* m_pDownloadManager { nullptr };
    bool m_bAcceleratorAdded { false };
};

}  // namespace Veneer
