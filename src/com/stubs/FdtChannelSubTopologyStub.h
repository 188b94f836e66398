#pragma once
// IFdtChannelSubTopology of a C++ channel for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtChannelSubTopologyStub final : public DispatchStub<::IFdtChannelSubTopology, fdt::IFdtChannelSubTopology> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE ScanRequest(BSTR invokeId, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().ScanRequest(fromBstr(invokeId)); });
    }
    HRESULT STDMETHODCALLTYPE ValidateAddChild(BSTR childSystemTag, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().ValidateAddChild(fromBstr(childSystemTag)); });
    }
    HRESULT STDMETHODCALLTYPE ValidateRemoveChild(BSTR childSystemTag, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().ValidateRemoveChild(fromBstr(childSystemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnAddChild(BSTR childSystemTag) override
    {
        return run([&] { object().OnAddChild(fromBstr(childSystemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnRemoveChild(BSTR childSystemTag) override
    {
        return run([&] { object().OnRemoveChild(fromBstr(childSystemTag)); });
    }
};

} // namespace zeb2hart::com
