#include "com/stubs/TestAccessStub.h"

#include "core/DtmState.h"

namespace zeb2hart::com {

HRESULT STDMETHODCALLTYPE TestAccessStub::GetProperty(BSTR name, VARIANT* result)
{
    return answer(result, [&] { return core::DtmState::read(object(), fromBstr(name)); });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::SetProperty(BSTR name, VARIANT value)
{
    return run([&] { core::DtmState::write(object(), fromBstr(name), fromVariant(value)); });
}

} // namespace zeb2hart::com
