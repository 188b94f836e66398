#include "scripts/PropertyAccess.h"

#include "core/PersistentProperties.h"
#include "host/Recording.h"
#include "scripts/ScriptRun.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

Json getProperty(ScriptRun& run, const std::string& name)
{
    auto& dtm = run.session().dtm();
    Json value;
    if (name == "CommStatus")
        value = variantToJson(dtm.CommStatus());
    else if (name == "StatusText")
        value = dtm.StatusText();
    else if (const auto* property = core::PersistentProperty::find(name))
        value = variantToJson(property->get(dtm));
    else if (name == "systemTag")
        value = dtm.systemTag();
    else if (name == "childSystemTag")
        value = dtm.childSystemTag();
    else if (name == "communicationReference")
        value = run.commRef();
    else if (name == "HARTCommand")
        value = dtm.gateway().HARTCommand();
    else if (name == "ZebInvokeId")
        value = dtm.gateway().ZebInvokeId();
    else if (name == "Cmd0Response")
        value = support::ByteArrayToHex(dtm.gateway().Cmd0Response());
    else if (name == "ZEBSeqColCount")
        value = dtm.gateway().communicator().ZEBSeqColCount();
    else if (name == "TimeoutTimer.Interval")
        value = dtm.gateway().timeoutTimer().Interval();
    else if (name == "TimeoutTimer.Enabled")
        value = dtm.gateway().timeoutTimer().Enabled();
    else if (name == "shortAddress")
        value = dtm.gateway().communicator().shortAddress();
    else if (name == "childConnected")
        value = dtm.gateway().communicator().CallbackInterface() != nullptr;
    else if (name == "parentAttached")
        value = dtm.gateway().communicator().ZEBDriverInterface() != nullptr;
    else
        throw ScriptError("unknown property \"" + name + "\" (see docs/frame-scripts.md)");
    run.transcript().add({{"ev", "get"}, {"property", name}, {"value", value}});
    return value;
}

void setProperty(ScriptRun& run, const std::string& name, const Json& value)
{
    auto& dtm = run.session().dtm();
    if (name == "CommStatus") {
        fdt::Variant variant;
        if (value.is_number_integer())
            variant = static_cast<std::int32_t>(value.get<long long>());
        else if (value.is_string())
            variant = value.get<std::string>();
        else if (value.is_boolean())
            variant = value.get<bool>();
        else
            throw ScriptError("CommStatus takes a number, a text or a Boolean");
        recordCall(run.transcript(), "page", "DTMMain::CommStatus", {{"value", value}}, [&] { dtm.CommStatus(variant); });
    } else if (name == "StatusText") {
        dtm.StatusText(ScriptRun::text(value, "StatusText"));
    } else if (const auto* property = core::PersistentProperty::find(name); property && property->published) {
        switch (property->type()) {
        case core::PropertyType::Boolean:
            property->set(dtm, ScriptRun::boolean(value, name));
            break;
        case core::PropertyType::Integer16:
            if (!value.is_number_integer() || value.get<long long>() < -32768 || value.get<long long>() > 32767)
                throw ScriptError(name + " takes a 16-bit whole number");
            property->set(dtm, static_cast<std::int16_t>(value.get<long long>()));
            break;
        case core::PropertyType::Text:
            property->set(dtm, ScriptRun::text(value, name));
            break;
        }
    } else {
        throw ScriptError("unknown or read-only property \"" + name + "\"");
    }
    run.transcript().add({{"ev", "set"}, {"property", name}, {"value", value}});
}

} // namespace zeb2hart::frame
