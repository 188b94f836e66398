#include "scripts/Operations.h"

#include <array>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "transcript/Recording.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"
#include "fdt/InterfaceTable.h"

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

// How a script gives an argument of each type of the interface table that the
// DTM's operations take, and how a result is written to the transcript.
template <class Tag>
struct ScriptArg;
template <class Tag>
    requires std::is_base_of_v<fdt::tag::Text, Tag>
struct ScriptArg<Tag> {
    static constexpr ParamKind kKind = Text;
    static const std::string& get(const Argument& a) { return a.text; }
};
template <>
struct ScriptArg<fdt::tag::Bool> {
    static constexpr ParamKind kKind = Boolean;
    static bool get(const Argument& a) { return a.flag; }
};
template <>
struct ScriptArg<fdt::tag::Long> {
    static constexpr ParamKind kKind = Integer;
    static std::int32_t get(const Argument& a) { return int32Of(a); }
};
template <class Tag>
    requires std::is_base_of_v<fdt::tag::Object, Tag>
struct ScriptArg<Tag> {
    static constexpr ParamKind kKind = Object;
    static const fdt::ObjectPtr& get(const Argument& a) { return a.object; }
};
template <class Tag>
    requires requires { typename Tag::Interface; }
struct ScriptArg<Tag> {
    static constexpr ParamKind kKind = Object;
    static std::shared_ptr<typename Tag::Interface> get(const Argument& a)
    {
        return as<typename Tag::Interface>(a, interfaceName<typename Tag::Interface>());
    }
    template <class I>
    static const char* interfaceName()
    {
        if constexpr (std::is_same_v<I, fdt::IFdtCommunication>)
            return "IFdtCommunication";
        else if constexpr (std::is_same_v<I, fdt::IFdtCommunicationEvents>)
            return "IFdtCommunicationEvents";
        else
            return "IFdtChannelCollection";
    }
};

Json resultJson(Session&, bool value)
{
    return value;
}
Json resultJson(Session&, const std::string& value)
{
    return value;
}
Json resultJson(Session& s, const std::shared_ptr<fdt::IFdtChannelCollection>& channels)
{
    return channelsJson(s, channels);
}

// An operation of the interface table on the DTM as its interface I.
template <class I, class Result, class... Tags, class Method, std::size_t... Index>
Json invokeOn(Session& s, Args& a, Method method, std::index_sequence<Index...>)
{
    const auto target = s.dtmAs<I>();
    if constexpr (std::is_same_v<Result, fdt::tag::Void>) {
        ((*target).*method)(ScriptArg<Tags>::get(a[Index])...);
        return Json();
    } else {
        return resultJson(s, ((*target).*method)(ScriptArg<Tags>::get(a[Index])...));
    }
}

template <class I, class Result, class... Tags, class Method>
Operation tableOperation(std::string name, std::string caller, Method method,
                         std::array<const char*, sizeof...(Tags)> names)
{
    const std::array<ParamKind, sizeof...(Tags)> kinds{ScriptArg<Tags>::kKind...};
    std::vector<Param> params;
    for (std::size_t i = 0; i < names.size(); ++i)
        params.push_back({names[i], kinds[i]});
    return op(std::move(name), std::move(caller), std::move(params), !std::is_same_v<Result, fdt::tag::Void>,
              [method](Session& s, Args& a) {
                  return invokeOn<I, Result, Tags...>(s, a, method, std::index_sequence_for<Tags...>{});
              });
}

#define ZEB2HART_SCRIPT_TAG(Type, name) fdt::tag::Type
#define ZEB2HART_SCRIPT_NAME(Type, name) #name
#define ZEB2HART_SCRIPT_OP(I, dispid, Result, Name, ...)                                                      \
    add(tableOperation<fdt::I, fdt::tag::Result __VA_OPT__(, ZEB2HART_FOR_EACH(ZEB2HART_SCRIPT_TAG, __VA_ARGS__))>( \
        #I "::" #Name, caller, &fdt::I::Name, {__VA_OPT__(ZEB2HART_FOR_EACH(ZEB2HART_SCRIPT_NAME, __VA_ARGS__))}));
#define ZEB2HART_SCRIPT_INTERFACE(Name, who)                                                                  \
    {                                                                                                          \
        const char* caller = who;                                                                              \
        ZEB2HART_FDT_OPS_##Name(ZEB2HART_SCRIPT_OP, ZEB2HART_SCRIPT_OP, Name)                                   \
    }

std::vector<Operation> makeOperations()
{
    std::vector<Operation> list;
    const auto add = [&](Operation operation) { list.push_back(std::move(operation)); };

    // The FDT interfaces DTMMain offers, each as its caller uses it.
    ZEB2HART_SCRIPT_INTERFACE(IDtm, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IDtmInformation, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IDtmDocumentation, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IDtmActiveXInformation, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IDtmChannel, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IDtmParameter, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IFdtChannel, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IFdtChannelSubTopology, "frame")
    ZEB2HART_SCRIPT_INTERFACE(IFdtCommunication, "child")
    ZEB2HART_SCRIPT_INTERFACE(IFdtCommunicationEvents, "parent")
    ZEB2HART_SCRIPT_INTERFACE(IFdtEvents, "frame")

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
