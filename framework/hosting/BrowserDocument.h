#pragma once
// Page-side helpers shared by the two browser controls.
#include <windows.h>
#include <mshtml.h>

namespace Veneer {

// The document host command that reports a script error.
const DWORD kShowScriptErrorCommand = 40;

// The answer to the document's script-error command: reads the error from
// the page's event object and tells the page to keep running its scripts,
// so no dialog is shown.
HRESULT AnswerScriptError(VARIANTARG* pvaIn, VARIANTARG* pvaOut);

// Sets one text property of a page style; nothing when the text cannot be
// allocated.
void PutStyleText(IHTMLStyle* pStyle, HRESULT (STDMETHODCALLTYPE IHTMLStyle::*put)(BSTR), LPCWSTR value);

}  // namespace Veneer
