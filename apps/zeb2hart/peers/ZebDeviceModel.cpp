#include "peers/ZebDeviceModel.h"

#include <fstream>
#include <sstream>

#include "core/PersistentProperties.h"
#include "fdt/Errors.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

using Json = nlohmann::ordered_json;

namespace {

class Reader {
public:
    explicit Reader(std::string origin) : m_origin(std::move(origin)) {}

    [[noreturn]] void fail(const std::string& what) const { throw ModelError(m_origin + ": " + what); }

    const Json& member(const Json& object, const char* key, const std::string& where) const
    {
        if (!object.contains(key))
            fail(where + " lacks \"" + key + "\"");
        return object[key];
    }

    std::string text(const Json& value, const std::string& where) const
    {
        if (!value.is_string())
            fail(where + " must be a string");
        return value.get<std::string>();
    }

    long long integer(const Json& value, long long low, long long high, const std::string& where) const
    {
        if (!value.is_number_integer())
            fail(where + " must be a whole number");
        const long long number = value.get<long long>();
        if (number < low || number > high)
            fail(where + " must lie in " + std::to_string(low) + ".." + std::to_string(high));
        return number;
    }

    std::vector<std::uint8_t> bytes(const Json& value, const std::string& where) const
    {
        const std::string hex = text(value, where);
        if (hex.size() % 2 != 0)
            fail(where + " must hold two hexadecimal digits per byte");
        try {
            return support::HexToByteArray(hex);
        } catch (const fdt::Error&) {
            fail(where + " is not hexadecimal text: \"" + hex + "\"");
        }
    }

    ZebReply reply(const Json& value, const std::string& where) const
    {
        if (!value.is_object())
            fail(where + " must be an object with \"status\" and \"data\"");
        ZebReply result;
        if (value.contains("status"))
            result.status = static_cast<std::uint8_t>(integer(value["status"], 0, 255, where + ".status"));
        if (value.contains("data"))
            result.data = bytes(value["data"], where + ".data");
        return result;
    }

private:
    std::string m_origin;
};

// The value types of "type", with the number of data bytes each takes.
struct ValueTypeName {
    const char* name;
    ZebValueType type;
    std::size_t minBytes;
    std::size_t maxBytes;
};
constexpr ValueTypeName kValueTypes[] = {
    {"bytes", ZebValueType::Bytes, 0, 251},
    {"float32", ZebValueType::Float32, 4, 4},
    {"unsigned", ZebValueType::Unsigned, 1, 4},
};

} // namespace

std::optional<std::pair<std::int32_t, std::uint8_t>> parseIdentityText(const std::string& text)
{
    const auto dot = text.find('.');
    if (dot == std::string::npos)
        return std::nullopt;
    try {
        return std::make_pair(support::toLong(text.substr(0, dot)), support::toByte(text.substr(dot + 1)));
    } catch (const fdt::Error&) {
        return std::nullopt;
    }
}

ZebAnswerMode answerModeFromJson(const Json& json)
{
    ZebAnswerMode mode;
    if (json.is_string()) {
        const std::string kind = json.get<std::string>();
        if (kind == "normal")
            mode.kind = ZebAnswerMode::Kind::Normal;
        else if (kind == "refuse")
            mode.kind = ZebAnswerMode::Kind::Refuse;
        else if (kind == "silent")
            mode.kind = ZebAnswerMode::Kind::Silent;
        else if (kind == "error")
            mode.kind = ZebAnswerMode::Kind::Error;
        else
            throw ModelError("answer must be \"normal\", \"refuse\", \"silent\" or {\"error\": NAME}, not \"" + kind +
                             "\"");
        return mode;
    }
    if (json.is_object() && json.contains("error")) {
        if (!json["error"].is_string())
            throw ModelError("answer.error must be the ZEB error name, a string");
        mode.kind = ZebAnswerMode::Kind::Error;
        mode.error = json["error"].get<std::string>();
        if (json.contains("zebActive")) {
            if (!json["zebActive"].is_boolean())
                throw ModelError("answer.zebActive must be true or false");
            mode.zebActive = json["zebActive"].get<bool>();
        }
        return mode;
    }
    throw ModelError("answer must be \"normal\", \"refuse\", \"silent\" or {\"error\": NAME, \"zebActive\": BOOL}");
}

BusParameters busFromJson(const Json& json, const std::string& origin, BusParameters bus)
{
    const Reader read(origin);
    if (!json.is_object())
        read.fail("bus must be an object");
    for (const auto& item : json.items()) {
        const BusKey* known = nullptr;
        for (const auto& key : busKeys())
            known = item.key() == key.key ? &key : known;
        if (!known) {
            std::string names;
            for (const auto& key : busKeys())
                names += (names.empty() ? "" : ", ") + std::string(key.key);
            read.fail("bus knows " + names + ", not \"" + item.key() + "\"");
        }
        bus.*known->member = static_cast<int>(
            read.integer(item.value(), known->minimum, known->maximum, "bus." + item.key()));
    }
    return bus;
}

ZebDeviceModel ZebDeviceModel::load(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ModelError("no device model " + file.string() + " (cannot open the file)");
    std::stringstream content;
    content << in.rdbuf();
    Json json;
    try {
        json = Json::parse(content.str());
    } catch (const Json::parse_error& error) {
        throw ModelError(file.string() + ": not valid JSON: " + error.what());
    }
    return fromJson(json, file.string());
}

ZebObject ZebDeviceModel::objectFromJson(const Json& entry, const std::string& origin, const std::string& where)
{
    const Reader read(origin);
    if (!entry.is_object())
        read.fail(where + " must be an object");
    ZebObject object;
    object.objectNo = static_cast<std::int32_t>(read.integer(read.member(entry, "object", where), 0, 65535,
                                                             where + ".object"));
    object.subNo = static_cast<std::uint8_t>(read.integer(read.member(entry, "sub", where), 0, 255, where + ".sub"));
    if (entry.contains("status"))
        object.status = static_cast<std::uint8_t>(read.integer(entry["status"], 0, 255, where + ".status"));
    object.data = read.bytes(read.member(entry, "data", where), where + ".data");
    if (object.data.size() > 251)
        read.fail(where + ".data holds more than 251 bytes");
    if (entry.contains("name"))
        object.name = read.text(entry["name"], where + ".name");
    if (entry.contains("unit"))
        object.unit = read.text(entry["unit"], where + ".unit");
    if (entry.contains("type")) {
        const std::string type = read.text(entry["type"], where + ".type");
        const ValueTypeName* known = nullptr;
        for (const auto& candidate : kValueTypes)
            known = type == candidate.name ? &candidate : known;
        if (!known)
            read.fail(where + ".type must be \"bytes\", \"float32\" or \"unsigned\", not \"" + type + "\"");
        // An object without data (an error answer) has no value to fit.
        if (!object.data.empty() && (object.data.size() < known->minBytes || object.data.size() > known->maxBytes))
            read.fail(where + ".data does not fit the type " + type);
        object.type = known->type;
    }
    return object;
}

ZebDeviceModel ZebDeviceModel::fromJson(const Json& json, const std::string& origin)
{
    const Reader read(origin);
    if (!json.is_object())
        read.fail("a device model is a JSON object");

    ZebDeviceModel model;
    model.deviceType = read.text(read.member(json, "deviceType", "the model"), "deviceType");
    if (json.contains("description"))
        model.description = read.text(json["description"], "description");
    model.tag = json.contains("tag") ? read.text(json["tag"], "tag") : model.deviceType;
    model.communicationReference =
        read.text(read.member(json, "communicationReference", "the model"), "communicationReference");

    const Json& objects = read.member(json, "objects", "the model");
    if (!objects.is_array())
        read.fail("objects must be an array");
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string where = "objects[" + std::to_string(i) + "]";
        ZebObject object = objectFromJson(objects[i], origin, where);
        if (model.find(object.objectNo, object.subNo))
            read.fail(where + " repeats object " + std::to_string(object.objectNo) + "." +
                      std::to_string(object.subNo));
        model.objects.push_back(std::move(object));
    }

    const Json& identity = read.member(json, "identity", "the model");
    if (!identity.is_object())
        read.fail("identity must be an object of the DTM.ini identity items");
    for (std::size_t i = 0; i < model.identity.size(); ++i) {
        const std::string key(core::PersistentProperty::identity()[i].iniKey);
        model.identity[i] = read.text(read.member(identity, key.c_str(), "identity"), "identity." + key);
        const auto parsed = parseIdentityText(model.identity[i]);
        if (!parsed)
            read.fail("identity." + key + " must be \"object.sub\", not \"" + model.identity[i] + "\"");
        const ZebObject* object = model.identityObject(i);
        if (!object)
            read.fail("identity." + key + " = " + model.identity[i] + " is read as object " +
                      std::to_string(parsed->first) + "." + std::to_string(parsed->second + 1) +
                      ", which the model does not hold");
        const bool deviceId = i == 5;
        if (deviceId ? object->data.size() < 3 : object->data.size() != 1)
            read.fail("identity." + key + ": object " + std::to_string(object->objectNo) + "." +
                      std::to_string(object->subNo) + (deviceId ? " must hold at least three data bytes"
                                                                : " must hold exactly one data byte"));
    }

    // Without a reply of its own the device acknowledges with status 0 and no data.
    if (json.contains("broadcastReply"))
        model.broadcastReply = read.reply(json["broadcastReply"], "broadcastReply");
    if (json.contains("delayedResponse"))
        model.delayedResponse = read.reply(json["delayedResponse"], "delayedResponse");
    if (json.contains("unknownObjectStatus"))
        model.unknownObjectStatus =
            static_cast<std::uint8_t>(read.integer(json["unknownObjectStatus"], 0, 255, "unknownObjectStatus"));
    if (json.contains("answer")) {
        try {
            model.answerMode = answerModeFromJson(json["answer"]);
        } catch (const ModelError& error) {
            read.fail(error.what());
        }
    }

    if (json.contains("bus"))
        model.bus = busFromJson(json["bus"], origin, model.bus);
    if (json.contains("faults"))
        model.faults = faultsFromJson(json["faults"], origin, model.faults);

    // Without "demoRead" the demo reads the model's first object.
    if (!json.contains("demoRead")) {
        model.demoObjectNo = model.objects.front().objectNo;
        model.demoSubNo = model.objects.front().subNo;
        return model;
    }
    const Json& demo = json["demoRead"];
    model.demoObjectNo = static_cast<std::int32_t>(
        read.integer(read.member(demo, "object", "demoRead"), 0, 65535, "demoRead.object"));
    model.demoSubNo = static_cast<std::uint8_t>(read.integer(read.member(demo, "sub", "demoRead"), 0, 255, "demoRead.sub"));
    if (!model.find(model.demoObjectNo, model.demoSubNo))
        read.fail("demoRead names object " + std::to_string(model.demoObjectNo) + "." +
                  std::to_string(model.demoSubNo) + ", which the model does not hold");
    return model;
}

const ZebObject* ZebDeviceModel::find(std::int32_t objectNo, std::uint8_t subNo) const
{
    for (const auto& object : objects) {
        if (object.objectNo == objectNo && object.subNo == subNo)
            return &object;
    }
    return nullptr;
}

ZebObject* ZebDeviceModel::find(std::int32_t objectNo, std::uint8_t subNo)
{
    return const_cast<ZebObject*>(static_cast<const ZebDeviceModel&>(*this).find(objectNo, subNo));
}

const ZebObject* ZebDeviceModel::identityObject(std::size_t item) const
{
    const auto parsed = parseIdentityText(identity.at(item));
    if (!parsed || parsed->second == 255)
        return nullptr;
    return find(parsed->first, static_cast<std::uint8_t>(parsed->second + 1));
}

} // namespace zeb2hart::frame
