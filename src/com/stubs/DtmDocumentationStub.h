#pragma once
// IDtmDocumentation of a C++ DTM for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmDocumentationStub final : public DispatchStub<::IDtmDocumentation, fdt::IDtmDocumentation> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetDocumentation(BSTR functionCall, BSTR* result) override
    {
        return answer(result, [&] { return object().GetDocumentation(fromBstr(functionCall)); });
    }
};

} // namespace zeb2hart::com
