// The in-process server: class object, unloading and (un)registration.
#include "Module.h"

#include "Guids.h"
#include "WebBrowser.h"

#include <olectl.h>

namespace Standin {

namespace {

HINSTANCE g_instance = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

class ClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static instance: its references only keep the module.
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        InterlockedIncrement(&g_locks);
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        InterlockedDecrement(&g_locks);
        return 1;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        WebBrowser* browser = nullptr;
        try {
            browser = new WebBrowser();
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        HRESULT hr = browser->QueryInterface(iid, out);
        browser->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock) {
            InterlockedIncrement(&g_locks);
        } else {
            InterlockedDecrement(&g_locks);
        }
        return S_OK;
    }
};

ClassFactory g_factory;

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void ObjectCreated() { InterlockedIncrement(&g_objects); }
void ObjectDestroyed() { InterlockedDecrement(&g_objects); }

}  // namespace Standin

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Standin::g_instance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        Standin::UnregisterBrowserClasses();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (!IsEqualCLSID(clsid, Standin::kClsidWebBrowser)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return Standin::g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return Standin::g_objects == 0 && Standin::g_locks == 0 ? S_OK : S_FALSE;
}
