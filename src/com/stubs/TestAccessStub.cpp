#include "com/stubs/TestAccessStub.h"

#include <string_view>

#include "core/PersistentProperties.h"

namespace zeb2hart::com {

namespace {

const std::string& textOf(const fdt::Variant& value)
{
    if (!value.is<std::string>())
        throw fdt::TypeMismatchError("the property takes text");
    return value.as<std::string>();
}

// The DTM's values beyond the persisted properties.
struct StateValue {
    std::string_view name;
    fdt::Variant (*get)(core::DTMMain&);
    void (*set)(core::DTMMain&, const fdt::Variant&);
};

constexpr StateValue kStateValues[] = {
    {"CommStatus", [](core::DTMMain& dtm) { return dtm.CommStatus(); },
     [](core::DTMMain& dtm, const fdt::Variant& value) { dtm.CommStatus(value); }},
    {"StatusText", [](core::DTMMain& dtm) { return fdt::Variant(dtm.StatusText()); },
     [](core::DTMMain& dtm, const fdt::Variant& value) { dtm.StatusText(textOf(value)); }},
    {"PresistentTrace", [](core::DTMMain& dtm) { return fdt::Variant(dtm.PresistentTrace); },
     [](core::DTMMain& dtm, const fdt::Variant& value) { dtm.PresistentTrace = textOf(value); }},
};

const StateValue* findStateValue(std::string_view name)
{
    for (const StateValue& value : kStateValues) {
        if (value.name == name)
            return &value;
    }
    return nullptr;
}

[[noreturn]] void unknownProperty(const std::string& name)
{
    throw fdt::NotFoundError("the DTM has no property " + name);
}

} // namespace

HRESULT STDMETHODCALLTYPE TestAccessStub::GetProperty(BSTR name, VARIANT* result)
{
    return answer(result, [&] {
        const std::string key = fromBstr(name);
        if (const auto* property = core::PersistentProperty::find(key))
            return property->get(object());
        if (const auto* value = findStateValue(key))
            return value->get(object());
        unknownProperty(key);
    });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::SetProperty(BSTR name, VARIANT value)
{
    return run([&] {
        const std::string key = fromBstr(name);
        if (const auto* property = core::PersistentProperty::find(key))
            return property->set(object(), fromVariant(value));
        if (const auto* state = findStateValue(key))
            return state->set(object(), fromVariant(value));
        unknownProperty(key);
    });
}

} // namespace zeb2hart::com
