#include "scripts/PropertyAccess.h"

#include "core/PersistentProperties.h"
#include "fdt/Errors.h"
#include "transcript/Recording.h"
#include "scripts/ScriptRun.h"

namespace zeb2hart::frame {

Json getProperty(ScriptRun& run, const std::string& name)
{
    Json value;
    try {
        // The gateway's counters: one JSON object, read only.
        if (name == "counters")
            value = Json::parse(run.session().hosted().counters());
        // What IPersistStreamInit::IsDirty answers, read only.
        else if (name == "IsDirty")
            value = run.session().hosted().isDirty();
        else
            value = variantToJson(run.session().hosted().state(name));
    } catch (const fdt::NotFoundError&) {
        throw ScriptError("unknown property \"" + name + "\" (see docs/frame-scripts.md)");
    }
    run.transcript().add({{"ev", "get"}, {"property", name}, {"value", value}});
    return value;
}

void setProperty(ScriptRun& run, const std::string& name, const Json& value)
{
    auto& dtm = run.session().hosted();
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
        recordCall(run.transcript(), "page", "DTMMain::CommStatus", {{"value", value}}, [&] { dtm.setState(name, variant); });
    } else if (name == "StatusText") {
        dtm.setState(name, ScriptRun::text(value, "StatusText"));
    } else if (const auto* property = core::PersistentProperty::find(name); property && property->published) {
        switch (property->type()) {
        case core::PropertyType::Boolean:
            dtm.setState(name, ScriptRun::boolean(value, name));
            break;
        case core::PropertyType::Integer16:
            if (!value.is_number_integer() || value.get<long long>() < -32768 || value.get<long long>() > 32767)
                throw ScriptError(name + " takes a 16-bit whole number");
            dtm.setState(name, static_cast<std::int16_t>(value.get<long long>()));
            break;
        case core::PropertyType::Text:
            dtm.setState(name, ScriptRun::text(value, name));
            break;
        }
    } else {
        throw ScriptError("unknown or read-only property \"" + name + "\"");
    }
    run.transcript().add({{"ev", "set"}, {"property", name}, {"value", value}});
}

} // namespace zeb2hart::frame
