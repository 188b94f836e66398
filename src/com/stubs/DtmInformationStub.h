#pragma once
// IDtmInformation of a C++ DTM for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmInformationStub final : public DispatchStub<::IDtmInformation, fdt::IDtmInformation> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetInformation(BSTR* result) override
    {
        return answer(result, [&] { return object().GetInformation(); });
    }
};

} // namespace zeb2hart::com
