#pragma once
// IDtmParameter of a C++ DTM for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmParameterStub final : public DispatchStub<::IDtmParameter, fdt::IDtmParameter> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetParameters(BSTR parameterPath, BSTR* result) override
    {
        return answer(result, [&] { return object().GetParameters(fromBstr(parameterPath)); });
    }
    HRESULT STDMETHODCALLTYPE SetParameters(BSTR parameterPath, BSTR fdtXmlDocument, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().SetParameters(fromBstr(parameterPath), fromBstr(fdtXmlDocument)); });
    }
};

} // namespace zeb2hart::com
