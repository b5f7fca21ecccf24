#pragma once
// Page-side helpers shared by the two browser controls.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include "hosting/ComHolder.h"

namespace Veneer {

// The document host command that reports a script error.
const DWORD kShowScriptErrorCommand = 40;

// The answer to the document's script-error command: reads the error from
// the page's event object and tells the page to keep running its scripts,
// so no dialog is shown.
HRESULT AnswerScriptError(VARIANTARG* pvaIn, VARIANTARG* pvaOut);

// Sets one text property of a page object (a style, a body); nothing when
// the text cannot be allocated.
template <class T>
void PutText(T* pObject, HRESULT (STDMETHODCALLTYPE T::*put)(BSTR), LPCWSTR value)
{
    BSTR text = ::SysAllocString(value);
    if (text == nullptr) return;
    (pObject->*put)(text);
    ::SysFreeString(text);
}

// The connection point of the browser's DWebBrowserEvents2; on failure the
// first failing call's result, E_NOINTERFACE where a call gave nothing.
HRESULT FindBrowserEvents(IWebBrowser2* pBrowser, CComHolder<IConnectionPoint>& point);

// The current document's host-handler hook; empty when there is no document
// or it has none.
CComHolder<ICustomDoc> CustomDocumentOf(IWebBrowser2* pBrowser);

// The current document's body; empty when there is none.
CComHolder<IHTMLElement> DocumentBodyOf(IWebBrowser2* pBrowser);

}  // namespace Veneer
