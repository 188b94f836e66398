#pragma once
// The base of the stubs of dual interfaces: Stub plus IDispatch, served from
// the type library embedded in the module (DispGetIDsOfNames, DispInvoke on
// the interface's own vtable). A call that names an interface other than
// IID_NULL, or whose parameters do not hold what their counts say, is refused
// before it reaches OLEAUT32. Called on the apartment's thread.

#include "com/Stub.h"
#include "com/TypeLibrary.h"

namespace zeb2hart::com {

template <class ComInterface, class Implementation>
class DispatchStub : public Stub<ComInterface, Implementation> {
public:
    using Stub<ComInterface, Implementation>::Stub;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** result) override
    {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        return this->run([&] { *result = TypeLibrary::typeInfo(__uuidof(ComInterface)).Detach(); });
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (count > 0 && (!names || !ids))
            return E_POINTER;
        for (UINT i = 0; i < count; ++i) {
            if (!names[i])
                return E_INVALIDARG;
        }
        ComPtr<ITypeInfo> info;
        const HRESULT status = this->run([&] { info = TypeLibrary::typeInfo(__uuidof(ComInterface)); });
        return FAILED(status) ? status : DispGetIDsOfNames(info.Get(), names, count, ids);
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override
    {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (!parameters || (parameters->cArgs > 0 && !parameters->rgvarg) ||
                            (parameters->cNamedArgs > 0 && !parameters->rgdispidNamedArgs) ||
                            parameters->cNamedArgs > parameters->cArgs)
            return E_INVALIDARG;
        for (UINT i = 0; i < parameters->cArgs; ++i) {
            if ((parameters->rgvarg[i].vt & VT_BYREF) && !parameters->rgvarg[i].byref) {
                if (argumentError)
                    *argumentError = i;
                return DISP_E_TYPEMISMATCH;
            }
        }
        ComPtr<ITypeInfo> info;
        const HRESULT status = this->run([&] { info = TypeLibrary::typeInfo(__uuidof(ComInterface)); });
        if (FAILED(status))
            return status;
        return DispInvoke(static_cast<ComInterface*>(this), info.Get(), member, flags, parameters, result, exception,
                          argumentError);
    }
};

} // namespace zeb2hart::com
