#pragma once
// The document side of the browser double: the document, its window, its
// body element, the body's style and the window's event object. The four
// parts live inside the document and share its reference count.
#include "ComPtr.h"
#include "Page.h"
#include "StubInterfaces.h"

#include <mshtmhst.h>

#include <memory>
#include <string>

namespace Standin {

class HtmlDocument;

// What the document asks of the browser that shows it.
class DocumentHost {
public:
    virtual void DocumentSettingsChanged() = 0;  // body scroll, overflow or border
    virtual void DocumentHandlerChanged() = 0;   // a new UI handler was installed
    virtual void DocumentTitleChanged() = 0;
    virtual HRESULT DocumentNavigate(const std::wstring& url) = 0;

protected:
    ~DocumentHost() = default;
};

struct BodySettings {
    std::wstring scroll;       // body scroll attribute: "", "yes", "no", "auto"
    std::wstring overflow;     // body style
    std::wstring border;
    std::wstring borderStyle;
};

struct ScriptErrorInfo {
    LONG line { 0 };
    LONG character { 0 };
    LONG code { 0 };
    std::wstring message;
    std::wstring url;
};

class HtmlStyle : public StubHTMLStyle {
public:
    explicit HtmlStyle(HtmlDocument& owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;
    HRESULT STDMETHODCALLTYPE put_overflow(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_overflow(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_border(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_border(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_borderStyle(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_borderStyle(BSTR* p) override;

private:
    HtmlDocument& m_owner;
};

class HtmlBody : public StubHTMLElement, public StubHTMLBodyElement {
public:
    explicit HtmlBody(HtmlDocument& owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;
    // IHTMLElement
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_style(IHTMLStyle** p) override;
    HRESULT STDMETHODCALLTYPE get_innerText(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_document(IDispatch** p) override;
    HRESULT STDMETHODCALLTYPE get_parentElement(IHTMLElement** p) override;
    // IHTMLBodyElement
    HRESULT STDMETHODCALLTYPE put_scroll(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_scroll(BSTR* p) override;

private:
    HtmlDocument& m_owner;
};

class HtmlEvent : public StubHTMLEventObj {
public:
    explicit HtmlEvent(HtmlDocument& owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;
    HRESULT STDMETHODCALLTYPE get_type(BSTR* p) override;

private:
    HtmlDocument& m_owner;
};

class HtmlWindow : public StubHTMLWindow2 {
public:
    explicit HtmlWindow(HtmlDocument& owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;
    HRESULT STDMETHODCALLTYPE get_length(LONG* p) override;
    HRESULT STDMETHODCALLTYPE get_status(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_status(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_name(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_name(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** p) override;
    HRESULT STDMETHODCALLTYPE get_event(IHTMLEventObj** p) override;
    HRESULT STDMETHODCALLTYPE get_parent(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_top(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_self(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_window(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_closed(VARIANT_BOOL* p) override;
    HRESULT STDMETHODCALLTYPE navigate(BSTR url) override;

private:
    HtmlDocument& m_owner;
    std::wstring m_status;
    std::wstring m_name;
};

class HtmlDocument : public StubHTMLDocument2, public ICustomDoc {
public:
    HtmlDocument(std::shared_ptr<Page> page, DocumentHost* host);
    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;
    // IHTMLDocument / IHTMLDocument2
    HRESULT STDMETHODCALLTYPE get_Script(IDispatch** p) override;
    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE put_title(BSTR v) override;
    HRESULT STDMETHODCALLTYPE get_readyState(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_URL(BSTR* p) override;
    HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** p) override;
    HRESULT STDMETHODCALLTYPE get_bgColor(VARIANT* p) override;
    // ICustomDoc
    HRESULT STDMETHODCALLTYPE SetUIHandler(IDocHostUIHandler* handler) override;

    Page& GetPage() { return *m_page; }
    std::shared_ptr<Page> SharedPage() const { return m_page; }
    void ReplacePage(std::shared_ptr<Page> page);
    DocumentHost* Host() const { return m_host; }
    void DetachHost() { m_host = nullptr; }
    IDocHostUIHandler* UIHandler() const { return m_handler.Get(); }
    void SetUIHandlerQuietly(IDocHostUIHandler* handler) { m_handler.Reset(handler); }
    const std::wstring& Title() const { return m_title; }
    void SetComplete(bool complete) { m_complete = complete; }

    BodySettings& Settings() { return m_settings; }
    void SettingsChanged();

    // While a script error is being reported the window's event object
    // describes it.
    void BeginScriptError(const ScriptErrorInfo& info);
    void EndScriptError() { m_inScriptError = false; }
    bool InScriptError() const { return m_inScriptError; }
    const ScriptErrorInfo& ScriptError() const { return m_scriptError; }

    HtmlWindow& Window() { return m_window; }
    HtmlBody& Body() { return m_body; }
    HtmlStyle& Style() { return m_style; }
    HtmlEvent& Event() { return m_event; }

private:
    ~HtmlDocument();

    LONG m_refs { 1 };
    std::shared_ptr<Page> m_page;
    DocumentHost* m_host { nullptr };
    std::wstring m_title;
    bool m_complete { false };
    ComPtr<IDocHostUIHandler> m_handler;
    BodySettings m_settings;
    ScriptErrorInfo m_scriptError;
    bool m_inScriptError { false };
    HtmlWindow m_window { *this };
    HtmlBody m_body { *this };
    HtmlStyle m_style { *this };
    HtmlEvent m_event { *this };
};

BSTR MakeBstr(const std::wstring& text);

}  // namespace Standin
