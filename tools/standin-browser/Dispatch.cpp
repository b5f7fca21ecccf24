#include "Dispatch.h"

#include <oleauto.h>

#include <vector>

namespace Standin {

namespace {

struct CachedLib {
    GUID libid;
    ITypeLib* lib;
};

// Loaded once per process and kept: type libraries are cheap and shared.
std::vector<CachedLib>& Libraries()
{
    static std::vector<CachedLib> libraries;
    return libraries;
}

ITypeLib* LibraryOf(const GUID& libid, WORD major)
{
    for (const auto& cached : Libraries()) {
        if (IsEqualGUID(cached.libid, libid)) {
            return cached.lib;
        }
    }
    ITypeLib* lib = nullptr;
    if (FAILED(LoadRegTypeLib(libid, major, 0, LOCALE_NEUTRAL, &lib))) {
        lib = nullptr;
    }
    Libraries().push_back({ libid, lib });
    return lib;
}

}  // namespace

HRESULT FaceTypeInfo(const DispatchFace& face, ITypeInfo** info)
{
    if (!info) {
        return E_POINTER;
    }
    *info = nullptr;
    ITypeLib* lib = LibraryOf(*face.libid, face.major);
    if (!lib) {
        return TYPE_E_LIBNOTREGISTERED;
    }
    return lib->GetTypeInfoOfGuid(*face.iid, info);
}

HRESULT FacesGetIDsOfNames(std::initializer_list<DispatchFace> faces, LPOLESTR* names, UINT count, DISPID* ids)
{
    HRESULT last = DISP_E_UNKNOWNNAME;
    for (const auto& face : faces) {
        ITypeInfo* info = nullptr;
        if (FAILED(FaceTypeInfo(face, &info))) {
            continue;
        }
        last = info->GetIDsOfNames(names, count, ids);
        info->Release();
        if (SUCCEEDED(last)) {
            return last;
        }
    }
    return last;
}

HRESULT FacesInvoke(std::initializer_list<DispatchFace> faces, DISPID id, WORD flags, DISPPARAMS* params,
                    VARIANT* result, EXCEPINFO* exception, UINT* argError)
{
    HRESULT last = DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none {};
    for (const auto& face : faces) {
        ITypeInfo* info = nullptr;
        if (FAILED(FaceTypeInfo(face, &info))) {
            continue;
        }
        last = info->Invoke(face.object, id, flags, params ? params : &none, result, exception, argError);
        info->Release();
        if (last != DISP_E_MEMBERNOTFOUND) {
            return last;
        }
    }
    return last;
}

}  // namespace Standin
