#pragma once
// IDispatch through the platform's registered type libraries, so scripting
// style callers can reach the properties the objects implement.
#include <oaidl.h>

#include <initializer_list>
#include <utility>

namespace Standin {

// One interface of an object and the type library it is described in.
struct DispatchFace {
    const GUID* libid;
    WORD major;
    const IID* iid;
    IUnknown* object;  // the object's pointer of that interface
};

HRESULT FaceTypeInfo(const DispatchFace& face, ITypeInfo** info);
HRESULT FacesGetIDsOfNames(std::initializer_list<DispatchFace> faces, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT FacesInvoke(std::initializer_list<DispatchFace> faces, DISPID id, WORD flags, DISPPARAMS* params,
                    VARIANT* result, EXCEPINFO* exception, UINT* argError);

}  // namespace Standin
