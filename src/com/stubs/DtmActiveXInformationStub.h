#pragma once
// IDtmActiveXInformation of a C++ DTM for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmActiveXInformationStub final : public DispatchStub<::IDtmActiveXInformation, fdt::IDtmActiveXInformation> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetActiveXGuid(BSTR functionCall, BSTR* result) override
    {
        return answer(result, [&] { return object().GetActiveXGuid(fromBstr(functionCall)); });
    }
    HRESULT STDMETHODCALLTYPE GetActiveXProgId(BSTR functionCall, BSTR* result) override
    {
        return answer(result, [&] { return object().GetActiveXProgId(fromBstr(functionCall)); });
    }
};

} // namespace zeb2hart::com
