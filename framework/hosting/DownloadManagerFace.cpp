#include "hosting/DownloadManagerFace.h"

#include "hosting/WebBrowserIds.h"
#include "hosting/WebBrowserUI.h"

namespace Veneer {

STDMETHODIMP_(ULONG) CDownloadManagerFace::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CDownloadManagerFace::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CDownloadManagerFace::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_DownloadManagerService || (m_pOwner == nullptr && riid == IID_IUnknown)) {
        *ppvObject = static_cast<IDownloadManager*>(this);
        AddRef();
        return S_OK;
    }
    if (m_pOwner == nullptr) return E_NOINTERFACE;
    return m_pOwner->QueryInterface(riid, ppvObject);
}

STDMETHODIMP CDownloadManagerFace::Download(IMoniker* pmk, IBindCtx* pbc,
    DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
    UINT uiCP)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_pOwner->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

}  // namespace Veneer
