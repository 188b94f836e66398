#pragma once
// IFdtChannel of a C++ channel for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtChannelStub final : public DispatchStub<::IFdtChannel, fdt::IFdtChannel> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetChannelPath(BSTR* result) override
    {
        return answer(result, [&] { return object().GetChannelPath(); });
    }
    HRESULT STDMETHODCALLTYPE GetChannelParameters(BSTR parameterPath, BSTR protocolId, BSTR* result) override
    {
        return answer(result, [&] { return object().GetChannelParameters(fromBstr(parameterPath), fromBstr(protocolId)); });
    }
    HRESULT STDMETHODCALLTYPE SetChannelParameters(BSTR parameterPath, BSTR protocolId, BSTR xmlDocument,
                                                   VARIANT_BOOL* result) override
    {
        return answer(result, [&] {
            return object().SetChannelParameters(fromBstr(parameterPath), fromBstr(protocolId), fromBstr(xmlDocument));
        });
    }
};

} // namespace zeb2hart::com
