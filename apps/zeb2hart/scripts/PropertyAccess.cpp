#include "scripts/PropertyAccess.h"

#include "host/Recording.h"
#include "scripts/ScriptRun.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

namespace {

bool* boolProperty(core::DTMMain& dtm, const std::string& name)
{
    if (name == "PersistentZEBProtocolFilter")
        return &dtm.PersistentZEBProtocolFilter;
    if (name == "PersistentHARTProtocolFilter")
        return &dtm.PersistentHARTProtocolFilter;
    if (name == "PersistentFDTInterfaceFilter")
        return &dtm.PersistentFDTInterfaceFilter;
    return nullptr;
}

std::int16_t* int16Property(core::DTMMain& dtm, const std::string& name)
{
    if (name == "PersistentDeviceTypeIndex")
        return &dtm.PersistentDeviceTypeIndex;
    if (name == "PersistentWarmstartDelay")
        return &dtm.PersistentWarmstartDelay;
    return nullptr;
}

std::string* textProperty(core::DTMMain& dtm, const std::string& name)
{
    if (name == "PersistentDeviceList")
        return &dtm.PersistentDeviceList;
    if (name == "PersistentManufacturerIDCode")
        return &dtm.PersistentManufacturerIDCode;
    if (name == "PersistentManufacturerDevTypeCode")
        return &dtm.PersistentManufacturerDevTypeCode;
    if (name == "PersistentRevLevelOfTransmSpecDoc")
        return &dtm.PersistentRevLevelOfTransmSpecDoc;
    if (name == "PersistentSoftwareRevLevelOfDev")
        return &dtm.PersistentSoftwareRevLevelOfDev;
    if (name == "PersistentHardwareRevLevelOfElectr")
        return &dtm.PersistentHardwareRevLevelOfElectr;
    if (name == "PersistentDeviceID")
        return &dtm.PersistentDeviceID;
    return nullptr;
}

} // namespace

Json getProperty(ScriptRun& run, const std::string& name)
{
    auto& dtm = run.session().dtm();
    Json value;
    if (name == "CommStatus")
        value = variantToJson(dtm.CommStatus());
    else if (name == "StatusText")
        value = dtm.StatusText();
    else if (name == "PresistentTrace")
        value = dtm.PresistentTrace;
    else if (auto* flag = boolProperty(dtm, name))
        value = *flag;
    else if (auto* number = int16Property(dtm, name))
        value = *number;
    else if (auto* textValue = textProperty(dtm, name))
        value = *textValue;
    else if (name == "systemTag")
        value = dtm.systemTag();
    else if (name == "childSystemTag")
        value = dtm.childSystemTag();
    else if (name == "m_ChannelUUID")
        value = dtm.channelUuid();
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
    } else if (name == "PresistentTrace") {
        dtm.PresistentTrace = ScriptRun::text(value, "PresistentTrace");
    } else if (auto* flag = boolProperty(dtm, name)) {
        *flag = ScriptRun::boolean(value, name);
    } else if (auto* number = int16Property(dtm, name)) {
        if (!value.is_number_integer() || value.get<long long>() < -32768 || value.get<long long>() > 32767)
            throw ScriptError(name + " takes a 16-bit whole number");
        *number = static_cast<std::int16_t>(value.get<long long>());
    } else if (auto* textValue = textProperty(dtm, name)) {
        *textValue = ScriptRun::text(value, name.c_str());
    } else {
        throw ScriptError("unknown or read-only property \"" + name + "\"");
    }
    run.transcript().add({{"ev", "set"}, {"property", name}, {"value", value}});
}

} // namespace zeb2hart::frame
