#pragma once
// The base of the stubs of dual interfaces: Stub plus IDispatch, served from
// the type library embedded in the module (DispGetIDsOfNames, DispInvoke on
// the interface's own vtable). Called on the apartment's thread.

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

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        ComPtr<ITypeInfo> info;
        const HRESULT status = this->run([&] { info = TypeLibrary::typeInfo(__uuidof(ComInterface)); });
        return FAILED(status) ? status : DispGetIDsOfNames(info.Get(), names, count, ids);
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override
    {
        ComPtr<ITypeInfo> info;
        const HRESULT status = this->run([&] { info = TypeLibrary::typeInfo(__uuidof(ComInterface)); });
        if (FAILED(status))
            return status;
        return DispInvoke(static_cast<ComInterface*>(this), info.Get(), member, flags, parameters, result, exception,
                          argumentError);
    }
};

} // namespace zeb2hart::com
