#include "NavigationText.h"

#include "hosting/ComHolder.h"

using namespace Veneer;

CStdString NavigationAddress(const VARIANT* url)
{
    if (url == nullptr) return CStdString();
    if (url->vt == VT_BSTR) return CStdString(url->bstrVal != nullptr ? url->bstrVal : L"");
    if (url->vt == (VT_BYREF | VT_BSTR) && url->pbstrVal != nullptr && *url->pbstrVal != nullptr)
        return CStdString(*url->pbstrVal);
    if (url->vt == (VT_BYREF | VT_VARIANT) && url->pvarVal != nullptr && url->pvarVal != url)
        return NavigationAddress(url->pvarVal);
    VARIANT text;
    ::VariantInit(&text);
    CStdString result;
    if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(url), 0, VT_BSTR)) && text.bstrVal != nullptr)
        result = text.bstrVal;
    ::VariantClear(&text);
    return result;
}

bool IsTopLevelNavigation(IDispatch* source, IWebBrowser2* browser)
{
    if (source == nullptr || browser == nullptr) return false;
    // COM identity: the same object answers IUnknown with the same pointer.
    CComHolder<IUnknown> sourceIdentity;
    CComHolder<IUnknown> browserIdentity;
    if (FAILED(source->QueryInterface(IID_IUnknown, sourceIdentity.OutVoid())) || !sourceIdentity) return false;
    if (FAILED(browser->QueryInterface(IID_IUnknown, browserIdentity.OutVoid())) || !browserIdentity) return false;
    return sourceIdentity.Get() == browserIdentity.Get();
}
