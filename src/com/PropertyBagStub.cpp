#include "com/PropertyBagStub.h"

#include "com/ErrorMapping.h"
#include "com/Values.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::com {

ComPtr<IPropertyBag> PropertyBagStub::create(std::shared_ptr<platform::PropertyBag> bag)
{
    return new PropertyBagStub(std::move(bag));
}

HRESULT STDMETHODCALLTYPE PropertyBagStub::Read(LPCOLESTR name, VARIANT* value, IErrorLog*)
{
    if (!name || !value)
        return E_POINTER;
    const VARTYPE wanted = value->vt;
    const fdt::Variant stored = m_bag->read(platform::fromWide(name), fdt::Variant());
    if (stored.isEmpty())
        return E_INVALIDARG;
    const HRESULT status = guarded(IID_IPropertyBag, [&] { *value = toVariant(stored); });
    if (FAILED(status) || wanted == VT_EMPTY || wanted == value->vt)
        return status;
    return VariantChangeType(value, value, 0, wanted);
}

HRESULT STDMETHODCALLTYPE PropertyBagStub::Write(LPCOLESTR name, VARIANT* value)
{
    if (!name || !value)
        return E_POINTER;
    return guarded(IID_IPropertyBag, [&] { m_bag->write(platform::fromWide(name), fromVariant(*value)); });
}

} // namespace zeb2hart::com
