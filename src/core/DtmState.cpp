#include "core/DtmState.h"

#include <string>

#include "core/PersistentProperties.h"
#include "support/Conversions.h"

namespace zeb2hart::core {

namespace {

const std::string& textOf(const fdt::Variant& value)
{
    if (!value.is<std::string>())
        throw fdt::TypeMismatchError("the value takes text");
    return value.as<std::string>();
}

struct StateValue {
    std::string_view name;
    fdt::Variant (*get)(DTMMain&);
    // nullptr: read-only.
    void (*set)(DTMMain&, const fdt::Variant&);
};

const gateway::clsCommunicator& communicator(DTMMain& dtm)
{
    return dtm.gateway().communicator();
}

// Besides the persisted properties (PresistentTrace among them), which
// PersistentProperty::find answers before this table is looked at.
constexpr StateValue kStateValues[] = {
    {"CommStatus", [](DTMMain& dtm) { return dtm.CommStatus(); },
     [](DTMMain& dtm, const fdt::Variant& value) { dtm.CommStatus(value); }},
    {"StatusText", [](DTMMain& dtm) { return fdt::Variant(dtm.StatusText()); },
     [](DTMMain& dtm, const fdt::Variant& value) { dtm.StatusText(textOf(value)); }},
    {"systemTag", [](DTMMain& dtm) { return fdt::Variant(dtm.systemTag()); }, nullptr},
    {"childSystemTag", [](DTMMain& dtm) { return fdt::Variant(dtm.childSystemTag()); }, nullptr},
    {"communicationReference",
     [](DTMMain& dtm) { return fdt::Variant(communicator(dtm).communicationReference()); }, nullptr},
    {"HARTCommand", [](DTMMain& dtm) { return fdt::Variant(dtm.gateway().HARTCommand()); }, nullptr},
    {"ZebInvokeId", [](DTMMain& dtm) { return fdt::Variant(dtm.gateway().ZebInvokeId()); }, nullptr},
    {"Cmd0Response", [](DTMMain& dtm) { return fdt::Variant(support::ByteArrayToHex(std::span<const std::uint8_t>(dtm.gateway().Cmd0Response()))); },
     nullptr},
    {"ZEBSeqColCount", [](DTMMain& dtm) { return fdt::Variant(communicator(dtm).ZEBSeqColCount()); }, nullptr},
    {"TimeoutTimer.Interval", [](DTMMain& dtm) { return fdt::Variant(dtm.gateway().timeoutTimer().Interval()); },
     nullptr},
    {"TimeoutTimer.Enabled", [](DTMMain& dtm) { return fdt::Variant(dtm.gateway().timeoutTimer().Enabled()); },
     nullptr},
    {"shortAddress", [](DTMMain& dtm) { return fdt::Variant(communicator(dtm).shortAddress()); }, nullptr},
    {"childConnected", [](DTMMain& dtm) { return fdt::Variant(communicator(dtm).CallbackInterface() != nullptr); },
     nullptr},
    {"parentAttached", [](DTMMain& dtm) { return fdt::Variant(communicator(dtm).ZEBDriverInterface() != nullptr); },
     nullptr},
};

const StateValue* findStateValue(std::string_view name)
{
    for (const StateValue& value : kStateValues) {
        if (value.name == name)
            return &value;
    }
    return nullptr;
}

[[noreturn]] void unknown(std::string_view name)
{
    throw fdt::NotFoundError("the DTM has no value " + std::string(name));
}

} // namespace

fdt::Variant DtmState::read(DTMMain& dtm, std::string_view name)
{
    if (const auto* property = PersistentProperty::find(name))
        return property->get(dtm);
    if (const auto* value = findStateValue(name))
        return value->get(dtm);
    unknown(name);
}

void DtmState::write(DTMMain& dtm, std::string_view name, const fdt::Variant& value)
{
    if (const auto* property = PersistentProperty::find(name))
        return property->set(dtm, value);
    const auto* state = findStateValue(name);
    if (!state)
        unknown(name);
    if (!state->set)
        throw fdt::TypeMismatchError("the DTM's value " + std::string(name) + " is read-only");
    state->set(dtm, value);
}

} // namespace zeb2hart::core
