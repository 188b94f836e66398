#pragma once
// IFdtEvents of a C++ DTM for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtEventsStub final : public DispatchStub<::IFdtEvents, fdt::IFdtEvents> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE OnChildParameterChanged(BSTR systemTag) override
    {
        return run([&] { object().OnChildParameterChanged(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnParameterChanged(BSTR systemTag, BSTR parameter) override
    {
        return run([&] { object().OnParameterChanged(fromBstr(systemTag), fromBstr(parameter)); });
    }
    HRESULT STDMETHODCALLTYPE OnLockDataSet(BSTR systemTag, BSTR userName) override
    {
        return run([&] { object().OnLockDataSet(fromBstr(systemTag), fromBstr(userName)); });
    }
    HRESULT STDMETHODCALLTYPE OnUnlockDataSet(BSTR systemTag, BSTR userName, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().OnUnlockDataSet(fromBstr(systemTag), fromBstr(userName)); });
    }
};

} // namespace zeb2hart::com
