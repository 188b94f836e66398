#include "scripts/Operations.h"

#include <limits>
#include <stdexcept>

#include "host/Recording.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::frame {

namespace {

using Args = std::vector<Argument>;
constexpr ParamKind Text = ParamKind::Text;
constexpr ParamKind Object = ParamKind::Object;
constexpr ParamKind Integer = ParamKind::Integer;
constexpr ParamKind Boolean = ParamKind::Boolean;

template <class I>
std::shared_ptr<I> as(const Argument& argument, const char* interfaceName)
{
    if (!argument.object)
        return nullptr;
    auto result = fdt::query<I>(argument.object);
    if (!result)
        throw std::invalid_argument(argument.shown.dump() + " does not offer " + interfaceName);
    return result;
}

std::int32_t int32Of(const Argument& argument)
{
    if (argument.number < std::numeric_limits<std::int32_t>::min() ||
        argument.number > std::numeric_limits<std::int32_t>::max())
        throw std::invalid_argument(std::to_string(argument.number) + " does not fit a 32-bit integer");
    return static_cast<std::int32_t>(argument.number);
}

std::int16_t int16Of(const Argument& argument)
{
    if (argument.number < std::numeric_limits<std::int16_t>::min() ||
        argument.number > std::numeric_limits<std::int16_t>::max())
        throw std::invalid_argument(std::to_string(argument.number) + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(argument.number);
}

Json channelsJson(Session& session, const std::shared_ptr<fdt::IFdtChannelCollection>& channels)
{
    if (!channels)
        return nullptr;
    Json items = Json::array();
    for (std::int32_t i = 1; i <= channels->Count(); ++i)
        items.push_back(session.names().nameOf(channels->Item(i)));
    return {{"count", channels->Count()}, {"items", items}};
}

Operation op(std::string name, std::string caller, std::vector<Param> params, bool returnsValue,
             std::function<Json(Session&, Args&)> invoke)
{
    return {std::move(name), std::move(caller), std::move(params), returnsValue, std::move(invoke)};
}

std::vector<Operation> makeOperations()
{
    std::vector<Operation> list;
    const auto add = [&](Operation operation) { list.push_back(std::move(operation)); };

    // IDtm
    add(op("IDtm::Environment", "frame", {{"systemTag", Text}, {"container", Object}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->Environment(a[0].text, a[1].object)); }));
    add(op("IDtm::InitNew", "frame", {{"deviceType", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->InitNew(a[0].text)); }));
    add(op("IDtm::Config", "frame", {{"userInfo", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->Config(a[0].text)); }));
    add(op("IDtm::SetCommunication", "frame", {{"communication", Object}}, true, [](Session& s, Args& a) {
        return Json(s.dtmAs<fdt::IDtm>()->SetCommunication(as<fdt::IFdtCommunication>(a[0], "IFdtCommunication")));
    }));
    add(op("IDtm::PrepareToRelease", "frame", {}, true, [](Session& s, Args&) { return Json(s.dtmAs<fdt::IDtm>()->PrepareToRelease()); }));
    add(op("IDtm::PrepareToReleaseCommunication", "frame", {}, true,
           [](Session& s, Args&) { return Json(s.dtmAs<fdt::IDtm>()->PrepareToReleaseCommunication()); }));
    add(op("IDtm::ReleaseCommunication", "frame", {}, true,
           [](Session& s, Args&) { return Json(s.dtmAs<fdt::IDtm>()->ReleaseCommunication()); }));
    add(op("IDtm::PrepareToDelete", "frame", {}, true, [](Session& s, Args&) { return Json(s.dtmAs<fdt::IDtm>()->PrepareToDelete()); }));
    add(op("IDtm::SetLanguage", "frame", {{"languageId", Integer}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->SetLanguage(int32Of(a[0]))); }));
    add(op("IDtm::GetFunctions", "frame", {{"operationState", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->GetFunctions(a[0].text)); }));
    add(op("IDtm::InvokeFunctionRequest", "frame", {{"invokeId", Text}, {"functionCall", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->InvokeFunctionRequest(a[0].text, a[1].text)); }));
    add(op("IDtm::PrivateDialogEnabled", "frame", {{"enabled", Boolean}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtm>()->PrivateDialogEnabled(a[0].flag)); }));

    // IDtmInformation, IDtmDocumentation, IDtmActiveXInformation
    add(op("IDtmInformation::GetInformation", "frame", {}, true,
           [](Session& s, Args&) { return Json(s.dtmAs<fdt::IDtmInformation>()->GetInformation()); }));
    add(op("IDtmDocumentation::GetDocumentation", "frame", {{"functionCall", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtmDocumentation>()->GetDocumentation(a[0].text)); }));
    add(op("IDtmActiveXInformation::GetActiveXGuid", "frame", {{"functionCall", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtmActiveXInformation>()->GetActiveXGuid(a[0].text)); }));
    add(op("IDtmActiveXInformation::GetActiveXProgId", "frame", {{"functionCall", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtmActiveXInformation>()->GetActiveXProgId(a[0].text)); }));

    // IDtmChannel, IDtmParameter, IFdtChannel
    add(op("IDtmChannel::GetChannels", "frame", {}, true,
           [](Session& s, Args&) { return channelsJson(s, s.dtmAs<fdt::IDtmChannel>()->GetChannels()); }));
    add(op("IDtmParameter::GetParameters", "frame", {{"parameterPath", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtmParameter>()->GetParameters(a[0].text)); }));
    add(op("IDtmParameter::SetParameters", "frame", {{"parameterPath", Text}, {"fdtXmlDocument", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IDtmParameter>()->SetParameters(a[0].text, a[1].text)); }));
    add(op("IFdtChannel::GetChannelPath", "frame", {}, true, [](Session& s, Args&) { return Json(s.dtmAs<fdt::IFdtChannel>()->GetChannelPath()); }));
    add(op("IFdtChannel::GetChannelParameters", "frame", {{"parameterPath", Text}, {"protocolId", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtChannel>()->GetChannelParameters(a[0].text, a[1].text)); }));
    add(op("IFdtChannel::SetChannelParameters", "frame",
           {{"parameterPath", Text}, {"protocolId", Text}, {"xmlDocument", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtChannel>()->SetChannelParameters(a[0].text, a[1].text, a[2].text)); }));

    // IFdtChannelSubTopology
    add(op("IFdtChannelSubTopology::ScanRequest", "frame", {{"invokeId", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtChannelSubTopology>()->ScanRequest(a[0].text)); }));
    add(op("IFdtChannelSubTopology::ValidateAddChild", "frame", {{"childSystemTag", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtChannelSubTopology>()->ValidateAddChild(a[0].text)); }));
    add(op("IFdtChannelSubTopology::ValidateRemoveChild", "frame", {{"childSystemTag", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtChannelSubTopology>()->ValidateRemoveChild(a[0].text)); }));
    add(op("IFdtChannelSubTopology::OnAddChild", "frame", {{"childSystemTag", Text}}, false, [](Session& s, Args& a) {
        s.dtmAs<fdt::IFdtChannelSubTopology>()->OnAddChild(a[0].text);
        return Json();
    }));
    add(op("IFdtChannelSubTopology::OnRemoveChild", "frame", {{"childSystemTag", Text}}, false, [](Session& s, Args& a) {
        s.dtmAs<fdt::IFdtChannelSubTopology>()->OnRemoveChild(a[0].text);
        return Json();
    }));

    // IFdtCommunication (the child's side)
    add(op("IFdtCommunication::Abort", "child", {{"fieldbusFrame", Text}}, false, [](Session& s, Args& a) {
        s.dtmAs<fdt::IFdtCommunication>()->Abort(a[0].text);
        return Json();
    }));
    add(op("IFdtCommunication::ConnectRequest", "child",
           {{"callback", Object}, {"invokeId", Text}, {"protocolId", Text}, {"fieldbusFrame", Text}}, true,
           [](Session& s, Args& a) {
               return Json(s.dtmAs<fdt::IFdtCommunication>()->ConnectRequest(as<fdt::IFdtCommunicationEvents>(a[0], "IFdtCommunicationEvents"),
                                                  a[1].text, a[2].text, a[3].text));
           }));
    add(op("IFdtCommunication::DisconnectRequest", "child", {{"invokeId", Text}, {"fieldbusFrame", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtCommunication>()->DisconnectRequest(a[0].text, a[1].text)); }));
    add(op("IFdtCommunication::TransactionRequest", "child", {{"invokeId", Text}, {"fieldbusFrame", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtCommunication>()->TransactionRequest(a[0].text, a[1].text)); }));
    add(op("IFdtCommunication::GetSupportedProtocols", "child", {}, true,
           [](Session& s, Args&) { return Json(s.dtmAs<fdt::IFdtCommunication>()->GetSupportedProtocols()); }));
    add(op("IFdtCommunication::SequenceBegin", "child", {{"fieldbusFrame", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtCommunication>()->SequenceBegin(a[0].text)); }));
    add(op("IFdtCommunication::SequenceStart", "child", {{"fieldbusFrame", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtCommunication>()->SequenceStart(a[0].text)); }));
    add(op("IFdtCommunication::SequenceEnd", "child", {{"fieldbusFrame", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtCommunication>()->SequenceEnd(a[0].text)); }));

    // IFdtCommunicationEvents (the parent's side)
    add(op("IFdtCommunicationEvents::OnAbort", "parent", {{"communicationReference", Text}}, false, [](Session& s, Args& a) {
        s.dtmAs<fdt::IFdtCommunicationEvents>()->OnAbort(a[0].text);
        return Json();
    }));
    add(op("IFdtCommunicationEvents::OnConnectResponse", "parent", {{"invokeId", Text}, {"response", Text}}, false,
           [](Session& s, Args& a) {
               s.dtmAs<fdt::IFdtCommunicationEvents>()->OnConnectResponse(a[0].text, a[1].text);
               return Json();
           }));
    add(op("IFdtCommunicationEvents::OnDisconnectResponse", "parent", {{"invokeId", Text}, {"response", Text}}, false,
           [](Session& s, Args& a) {
               s.dtmAs<fdt::IFdtCommunicationEvents>()->OnDisconnectResponse(a[0].text, a[1].text);
               return Json();
           }));
    add(op("IFdtCommunicationEvents::OnTransactionResponse", "parent", {{"invokeId", Text}, {"response", Text}}, false,
           [](Session& s, Args& a) {
               s.dtmAs<fdt::IFdtCommunicationEvents>()->OnTransactionResponse(a[0].text, a[1].text);
               return Json();
           }));

    // IFdtEvents
    add(op("IFdtEvents::OnChildParameterChanged", "frame", {{"systemTag", Text}}, false, [](Session& s, Args& a) {
        s.dtmAs<fdt::IFdtEvents>()->OnChildParameterChanged(a[0].text);
        return Json();
    }));
    add(op("IFdtEvents::OnParameterChanged", "frame", {{"systemTag", Text}, {"parameter", Text}}, false,
           [](Session& s, Args& a) {
               s.dtmAs<fdt::IFdtEvents>()->OnParameterChanged(a[0].text, a[1].text);
               return Json();
           }));
    add(op("IFdtEvents::OnLockDataSet", "frame", {{"systemTag", Text}, {"userName", Text}}, false, [](Session& s, Args& a) {
        s.dtmAs<fdt::IFdtEvents>()->OnLockDataSet(a[0].text, a[1].text);
        return Json();
    }));
    add(op("IFdtEvents::OnUnlockDataSet", "frame", {{"systemTag", Text}, {"userName", Text}}, true,
           [](Session& s, Args& a) { return Json(s.dtmAs<fdt::IFdtEvents>()->OnUnlockDataSet(a[0].text, a[1].text)); }));

    // Persistence, as the frame's property bag drives it
    add(op("DTMMain::InitNewProperties", "frame", {}, false, [](Session& s, Args&) {
        s.hosted().initNewProperties();
        return Json();
    }));
    add(op("DTMMain::LoadProperties", "frame", {{"bag", ParamKind::Bag}}, false, [](Session& s, Args& a) {
        s.hosted().loadProperties(*a[0].bag);
        return Json();
    }));
    add(op("DTMMain::SaveProperties", "frame", {}, true, [](Session& s, Args&) {
        platform::MemoryPropertyBag bag;
        s.hosted().saveProperties(bag);
        return Json{{"values", bagValues(bag)}, {"types", bagTypes(bag)}};
    }));

    // Public services for the pages
    add(op("DTMMain::GetFramePointer", "page", {}, true,
           [](Session& s, Args&) { return s.names().nameOf(s.hosted().GetFramePointer()); }));
    add(op("DTMMain::OnInitControl", "page", {}, true,
           [](Session& s, Args&) { return s.names().nameOf(s.hosted().OnInitControl()); }));
    add(op("DTMMain::XMLHelpPointer", "page", {}, true, [](Session& s, Args&) {
        return Json{{"componentFolder", s.hosted().xmlHelpFolder()}};
    }));
    add(op("DTMMain::GetDictionaryText", "page", {{"textId", Text}}, true,
           [](Session& s, Args& a) { return Json(s.hosted().GetDictionaryText(a[0].text)); }));
    add(op("DTMMain::CtlMonitorPointer", "page", {{"page", Object}}, false, [](Session& s, Args& a) {
        s.hosted().CtlMonitorPointer(a[0].object);
        return Json();
    }));
    add(op("DTMMain::CtlOfflineParamPointer", "page", {{"page", Object}}, false, [](Session& s, Args& a) {
        s.hosted().CtlOfflineParamPointer(a[0].object);
        return Json();
    }));
    add(op("DTMMain::CtlAboutPointer", "page", {{"page", Object}}, false, [](Session& s, Args& a) {
        s.hosted().CtlAboutPointer(a[0].object);
        return Json();
    }));
    add(op("DTMMain::PersistentParamChanged", "page", {{"paramName", Text}, {"newValue", Text}}, false,
           [](Session& s, Args& a) {
               s.hosted().PersistentParamChanged(a[0].text, a[1].text);
               return Json();
           }));
    add(op("DTMMain::MonitorMsg", "page",
           {{"functionName", Text}, {"message", Text}, {"lineColor", Integer}, {"filter", Integer}}, false,
           [](Session& s, Args& a) {
               s.hosted().MonitorMsg(a[0].text, a[1].text, int32Of(a[2]), int16Of(a[3]));
               return Json();
           }));
    add(op("DTMMain::Set_Status", "page", {}, false, [](Session& s, Args&) {
        s.hosted().Set_Status();
        return Json();
    }));
    add(op("DTMMain::TranslateControls", "page", {{"prefix", Text}, {"controls", ParamKind::Controls}}, true,
           [](Session& s, Args& a) {
               core::ControlList list;
               for (auto& control : a[1].controls)
                   list.push_back(&control);
               s.hosted().TranslateControls(a[0].text, list);
               Json captions = Json::array();
               for (const auto& control : a[1].controls)
                   captions.push_back(control.caption() ? Json(*control.caption()) : Json(nullptr));
               return captions;
           }));
    return list;
}

} // namespace

const std::vector<Operation>& operations()
{
    static const std::vector<Operation> list = makeOperations();
    return list;
}

const Operation* findOperation(const std::string& name)
{
    for (const auto& operation : operations()) {
        if (operation.name == name)
            return &operation;
    }
    return nullptr;
}

Json bagValues(const platform::MemoryPropertyBag& bag)
{
    Json values = Json::object();
    for (const auto& [key, value] : bag.entries())
        values[key] = variantToJson(value);
    return values;
}

Json bagTypes(const platform::MemoryPropertyBag& bag)
{
    Json types = Json::object();
    for (const auto& [key, value] : bag.entries()) {
        const char* type = "other";
        if (value.is<bool>())
            type = "bool";
        else if (value.is<std::int16_t>())
            type = "int16";
        else if (value.is<std::int32_t>())
            type = "int32";
        else if (value.is<std::uint8_t>())
            type = "byte";
        else if (value.is<std::string>())
            type = "string";
        else if (value.is<double>())
            type = "double";
        types[key] = type;
    }
    return types;
}

std::shared_ptr<platform::MemoryPropertyBag> bagFromJson(const Json& json)
{
    if (!json.is_object())
        throw std::invalid_argument("a property bag is an object of \"key\": value");
    auto bag = std::make_shared<platform::MemoryPropertyBag>();
    for (const auto& item : json.items()) {
        const Json& value = item.value();
        if (value.is_object()) {
            Json single = Json::object();
            single[item.key()] = value;
            platform::MemoryPropertyBag typed;
            try {
                platform::JsonFilePropertyBag::fromJson(single.dump(), typed);
            } catch (const std::exception& error) {
                throw std::invalid_argument(std::string("bag entry \"") + item.key() + "\": " + error.what());
            }
            for (const auto& [key, variant] : typed.entries())
                bag->write(key, variant);
        } else if (value.is_boolean()) {
            bag->write(item.key(), value.get<bool>());
        } else if (value.is_number_integer()) {
            const long long number = value.get<long long>();
            if (number >= std::numeric_limits<std::int16_t>::min() && number <= std::numeric_limits<std::int16_t>::max())
                bag->write(item.key(), static_cast<std::int16_t>(number));
            else if (number >= std::numeric_limits<std::int32_t>::min() &&
                     number <= std::numeric_limits<std::int32_t>::max())
                bag->write(item.key(), static_cast<std::int32_t>(number));
            else
                throw std::invalid_argument(std::string("bag entry \"") + item.key() + "\" does not fit 32 bits");
        } else if (value.is_number()) {
            bag->write(item.key(), value.get<double>());
        } else if (value.is_string()) {
            bag->write(item.key(), value.get<std::string>());
        } else {
            throw std::invalid_argument(std::string("bag entry \"") + item.key() +
                                        "\" must be a Boolean, a number, a text or {\"type\", \"value\"}");
        }
    }
    return bag;
}

} // namespace zeb2hart::frame
