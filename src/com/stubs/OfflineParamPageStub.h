#pragma once
// The offline parameter page of a C++ frame (its headless page) for COM
// callers: the status the DTM in the DLL shows. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Stub.h"
#include "core/Pages.h"

namespace zeb2hart::com {

class OfflineParamPageStub final : public Stub<::IZeb2hartOfflineParamPage, core::IOfflineParamPage> {
public:
    using Stub::Stub;

    HRESULT STDMETHODCALLTYPE SetParameterStatus(VARIANT newValue, BSTR statusText) override
    {
        return run([&] { object().SetParameterStatus(fromVariant(newValue), fromBstr(statusText)); });
    }
};

} // namespace zeb2hart::com
