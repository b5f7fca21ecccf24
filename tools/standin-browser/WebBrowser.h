#pragma once
// The embeddable web browser object: OLE embedding and in-place activation,
// IWebBrowser2, the DWebBrowserEvents2 connection point, navigation and the
// view window the page is drawn in.
#include "ComPtr.h"
#include "Fetch.h"
#include "HtmlObjects.h"
#include "Page.h"
#include "StubInterfaces.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <vector>

namespace Standin {

class WebBrowser;

// The connection point for DWebBrowserEvents2; part of the browser object.
class EventPoint : public IConnectionPoint {
public:
    explicit EventPoint(WebBrowser& owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    std::vector<ComPtr<IDispatch>> Sinks() const;
    void Clear() { m_sinks.clear(); }

private:
    struct Sink {
        DWORD cookie;
        ComPtr<IDispatch> dispatch;
    };
    WebBrowser& m_owner;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie { 1 };
};

class WebBrowser : public StubWebBrowser2,
                   public IOleObject,
                   public IOleInPlaceObject,
                   public IOleInPlaceActiveObject,
                   public IViewObject2,
                   public IPersistStreamInit,
                   public IOleControl,
                   public IConnectionPointContainer,
                   public IProvideClassInfo2,
                   public DocumentHost {
public:
    WebBrowser();
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;

    // IWebBrowser2 (the rest answer E_NOTIMPL)
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE GoHome() override;
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT* level) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_Container(IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE get_Type(BSTR* out) override;
    HRESULT STDMETHODCALLTYPE get_Width(LONG* out) override;
    HRESULT STDMETHODCALLTYPE get_Height(LONG* out) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* out) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* out) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override;
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* out) override;
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL* out) override;
    HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID command, OLECMDF* status) override;
    HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* in, VARIANT* out) override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                     LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

    // IViewObject2
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDevice,
                                   HDC draw, LPCRECTL bounds, LPCRECTL metaBounds,
                                   BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                          HDC targetDevice, LOGPALETTE** colours) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersist, IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

    // DocumentHost
    void DocumentSettingsChanged() override;
    void DocumentHandlerChanged() override;
    void DocumentTitleChanged() override;
    HRESULT DocumentNavigate(const std::wstring& url) override;

    // A browser in a top-level window of its own (a page's new window).
    HRESULT AttachToWindow(HWND parent);

private:
    ~WebBrowser();

    enum class NavKind { Normal, Travel, Refresh };
    struct Navigation {
        UINT_PTR serial { 0 };
        NavKind kind { NavKind::Normal };
        std::wstring url;
        int travelIndex { -1 };
        bool noHistory { false };
    };

    static void RegisterClasses();
    static LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnViewMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HRESULT InPlaceActivate(HWND parent, LPCRECT position);
    void UIActivate();
    IOleInPlaceActiveObject* ActiveObject() { return static_cast<IOleInPlaceActiveObject*>(this); }
    IDispatch* SelfDispatch() { return static_cast<IWebBrowser2*>(this); }

    // Navigation
    HRESULT BeginNavigation(std::wstring url, const std::string& postData, const std::wstring& headers,
                            const std::wstring& target, NavKind kind, int travelIndex, bool noHistory);
    void OnDocumentFetched(std::unique_ptr<FetchResult> result);
    void OnImageFetched(std::unique_ptr<FetchResult> result);
    void ShowDocument(const Navigation& nav, const std::wstring& url, const std::wstring& html);
    void FinishDocument();
    void ReportScriptErrors();
    void OpenNewWindow(const std::wstring& url, const std::wstring& context);
    void ActivateItem(int item);
    // Tab and Shift+Tab walk the page's links; false once past either end.
    bool MoveLinkFocus(bool forward);
    void ActivateFocusedLink();
    void PaintLinkFocus(HDC dc, POINT origin);
    bool IsCurrent(UINT_PTR serial) const { return !m_closed && m_nav.serial == serial; }

    // Events
    void Fire(DISPID id, VARIANTARG* args, UINT count);
    bool FireBeforeNavigate2(const std::wstring& url, LONG flags, const std::wstring& target,
                             const std::string& postData, const std::wstring& headers);
    void FireNavigateComplete2(DISPID id, const std::wstring& url);
    bool FireNavigateError(const std::wstring& url, LONG status);
    void FireCommandStateChange(LONG command, bool enabled);
    void FireText(DISPID id, const std::wstring& text);
    void FireCommandStates();

    // Host UI handler
    ComPtr<IDocHostUIHandler> UIHandler();
    void ApplyHostInfo();
    void ShowContextMenu(POINT screen);

    // View
    bool BorderShown() const;
    bool ScrollAllowed() const;
    void Relayout();
    void ScrollTo(int position);
    void PaintTo(HDC dc, const RECT& area);
    POINT PagePoint(LPARAM lParam) const;

    LONG m_refs { 1 };
    EventPoint m_events { *this };
    ComPtr<IOleClientSite> m_clientSite;
    ComPtr<IOleInPlaceSite> m_inPlaceSite;
    ComPtr<IOleInPlaceFrame> m_frame;
    ComPtr<IOleInPlaceUIWindow> m_uiWindow;
    ComPtr<IAdviseSink> m_viewSink;
    HWND m_view { nullptr };
    HWND m_notify { nullptr };
    HWND m_ownFrame { nullptr };     // top-level window of a browser opened for a page
    bool m_inPlaceActive { false };
    bool m_uiActive { false };
    bool m_closed { false };
    bool m_silent { false };
    bool m_visible { true };
    SIZEL m_extent { 0, 0 };

    ComPtr<HtmlDocument> m_document;
    std::unique_ptr<Layout> m_layout;
    FontCache m_fonts;
    int m_scroll { 0 };
    bool m_inRelayout { false };
    DWORD m_hostFlags { 0 };
    int m_pressed { -1 };
    int m_focusLink { -1 };          // page link that Tab moved to, or -1

    UINT_PTR m_nextSerial { 0 };
    Navigation m_nav;               // the one being loaded or last loaded
    UINT_PTR m_imageSerial { 0 };
    size_t m_imagesPending { 0 };
    bool m_busy { false };
    READYSTATE m_readyState { READYSTATE_UNINITIALIZED };
    std::wstring m_locationUrl;
    std::vector<std::wstring> m_history;
    int m_historyIndex { -1 };
};

// Before the module goes away.
void UnregisterBrowserClasses();

}  // namespace Standin
