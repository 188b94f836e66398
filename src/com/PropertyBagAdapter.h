#pragma once
// The frame's IPropertyBag as the component's platform::PropertyBag, for
// DTMMain's LoadProperties and SaveProperties behind IPersistPropertyBag.
// Lives for one Load or Save call on the apartment's thread.

#include <windows.h>
#include <ocidl.h>

#include "platform/PropertyBag.h"

namespace zeb2hart::com {

class PropertyBagAdapter final : public platform::PropertyBag {
public:
    PropertyBagAdapter(IPropertyBag& bag, IErrorLog* errorLog) : m_bag(bag), m_errorLog(errorLog) {}

    // The stored value in the type the bag keeps; `defaultValue` when the bag
    // answers E_INVALIDARG, its answer for a property it does not hold.
    fdt::Variant read(const std::string& key, const fdt::Variant& defaultValue) override;
    void write(const std::string& key, const fdt::Variant& value) override;

private:
    IPropertyBag& m_bag;
    IErrorLog* m_errorLog;
};

} // namespace zeb2hart::com
