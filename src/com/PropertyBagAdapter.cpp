#include "com/PropertyBagAdapter.h"

#include "com/ErrorMapping.h"
#include "com/ScopedVariant.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::com {

fdt::Variant PropertyBagAdapter::read(const std::string& key, const fdt::Variant& defaultValue)
{
    ScopedVariant value; // VT_EMPTY: in whatever type the bag holds it
    clearErrorInfo();
    const HRESULT status = m_bag.Read(platform::toWide(key).c_str(), value.get(), m_errorLog);
    if (status == E_INVALIDARG)
        return defaultValue;
    checkPeerResult(status, m_bag, IID_IPropertyBag);
    return fromVariant(value.value());
}

void PropertyBagAdapter::write(const std::string& key, const fdt::Variant& value)
{
    ScopedVariant stored(value);
    clearErrorInfo();
    checkPeerResult(m_bag.Write(platform::toWide(key).c_str(), stored.get()), m_bag, IID_IPropertyBag);
}

} // namespace zeb2hart::com
