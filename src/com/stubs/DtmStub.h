#pragma once
// IDtm of a C++ DTM for COM callers (the frame). Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "com/Peer.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmStub final : public DispatchStub<::IDtm, fdt::IDtm> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE Environment(BSTR systemTag, IDispatch* container, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().Environment(fromBstr(systemTag), Peer::wrap(container)); });
    }
    HRESULT STDMETHODCALLTYPE InitNew(BSTR deviceType, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().InitNew(fromBstr(deviceType)); });
    }
    HRESULT STDMETHODCALLTYPE Config(BSTR userInfo, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().Config(fromBstr(userInfo)); });
    }
    HRESULT STDMETHODCALLTYPE SetCommunication(::IFdtCommunication* communication, VARIANT_BOOL* result) override
    {
        return answer(result, [&] {
            return object().SetCommunication(Peer::wrapAs<fdt::IFdtCommunication>(communication));
        });
    }
    HRESULT STDMETHODCALLTYPE PrepareToRelease(VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().PrepareToRelease(); });
    }
    HRESULT STDMETHODCALLTYPE PrepareToReleaseCommunication(VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().PrepareToReleaseCommunication(); });
    }
    HRESULT STDMETHODCALLTYPE ReleaseCommunication(VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().ReleaseCommunication(); });
    }
    HRESULT STDMETHODCALLTYPE PrepareToDelete(VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().PrepareToDelete(); });
    }
    HRESULT STDMETHODCALLTYPE SetLanguage(LONG languageId, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().SetLanguage(languageId); });
    }
    HRESULT STDMETHODCALLTYPE GetFunctions(BSTR operationState, BSTR* result) override
    {
        return answer(result, [&] { return object().GetFunctions(fromBstr(operationState)); });
    }
    HRESULT STDMETHODCALLTYPE InvokeFunctionRequest(BSTR invokeId, BSTR functionCall, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().InvokeFunctionRequest(fromBstr(invokeId), fromBstr(functionCall)); });
    }
    HRESULT STDMETHODCALLTYPE PrivateDialogEnabled(VARIANT_BOOL enabled, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().PrivateDialogEnabled(enabled != VARIANT_FALSE); });
    }
};

} // namespace zeb2hart::com
