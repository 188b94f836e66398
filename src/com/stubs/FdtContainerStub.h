#pragma once
// IFdtContainer of a C++ frame (a test frame) for COM callers (the DTM).
// Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::com {

class FdtContainerStub final : public DispatchStub<::IFdtContainer, fdt::IFdtContainer> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE SaveRequest(BSTR systemTag, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().SaveRequest(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE LockDataSet(BSTR systemTag, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().LockDataSet(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE UnlockDataSet(BSTR systemTag, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().UnlockDataSet(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE GetXmlSchemaPath(BSTR* result) override
    {
        return answer(result, [&] { return object().GetXmlSchemaPath(); });
    }
};

} // namespace zeb2hart::com
