#pragma once
#include "foundation/VeneerApi.h"
#include <windows.h>
#include <downloadmgr.h>

namespace Veneer {

class CWebBrowserUI;

// The download manager the web browser control hands to the page. A
// companion with its own count: the page may keep it after the control is
// gone, and then finds nobody behind it.
class VENEER_API CDownloadManagerFace : public IDownloadManager {
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

}  // namespace Veneer
