#include "hosting/DownloadManagerFace.h"

#include "hosting/ComHolder.h"
#include "hosting/WebBrowserIds.h"
#include "hosting/WebBrowserUI.h"

namespace Veneer {

STDMETHODIMP_(ULONG) CDownloadManagerFace::AddRef()
{
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) CDownloadManagerFace::Release()
{
    return ReleaseComReference(this, m_dwRef);
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
