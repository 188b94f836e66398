// Device models: the shipped ones load and match DTM.ini; broken ones are
// refused with a message that names the problem.

#include <gtest/gtest.h>

#include <sstream>

#include "core/PersistentProperties.h"
#include "fakes/TestEnvironment.h"
#include "peers/ZebDeviceModel.h"
#include "support/IniFile.h"

namespace zeb2hart::frame {
namespace {

using Json = nlohmann::ordered_json;

Json validModel()
{
    return Json::parse(R"({
      "deviceType": "T1", "communicationReference": "R1",
      "identity": {"PersistentManufacturerIDCode": "1.1", "PersistentManufacturerDevTypeCode": "2.1",
                   "PersistentRevLevelOfTransmSpecDoc": "3.1", "PersistentSoftwareRevLevelOfDev": "4.1",
                   "PersistentHardwareRevLevelOfElectr": "5.1", "PersistentDeviceID": "6.1"},
      "objects": [{"object": 1, "sub": 2, "data": "11"}, {"object": 2, "sub": 2, "data": "22"},
                  {"object": 3, "sub": 2, "data": "33"}, {"object": 4, "sub": 2, "data": "44"},
                  {"object": 5, "sub": 2, "data": "55"}, {"object": 6, "sub": 2, "data": "010203"},
                  {"object": 7, "sub": 0, "status": 130, "data": ""}],
      "broadcastReply": {"status": 0, "data": ""}, "answer": {"error": "busy"}})");
}

TEST(ZebDeviceModel, EveryDeviceTypeOfTheSettingsFileHasAModelMatchingItsIdentityItems)
{
    const auto ini = test::componentDir() / "Resources" / "DTM.ini";
    std::istringstream types(support::ReadIniString(ini, "DeviceList", "Devices"));
    int count = 0;
    for (std::string type; std::getline(types, type, ',');) {
        SCOPED_TRACE(type);
        ++count;
        const auto model =
            ZebDeviceModel::load(std::filesystem::path(ZEB2HART_FRAME_DIR) / "Devices" / (type + ".json"));
        EXPECT_EQ(model.deviceType, type);
        for (std::size_t i = 0; i < model.identity.size(); ++i) {
            const std::string key(core::PersistentProperty::identity()[i].iniKey);
            EXPECT_EQ(model.identity[i], support::ReadIniString(ini, type, key)) << key;
            ASSERT_NE(model.identityObject(i), nullptr);
        }
        EXPECT_NE(model.find(model.demoObjectNo, model.demoSubNo), nullptr);
    }
    EXPECT_GE(count, 1);
}

// What the frame scripts do not see: the defaults of the tag, the demo's read
// and the ZEB state of an error answer.
TEST(ZebDeviceModel, ReadsAValidModelWithItsDefaults)
{
    const auto model = ZebDeviceModel::fromJson(validModel(), "m");
    EXPECT_EQ(model.tag, "T1");
    EXPECT_EQ(std::make_pair(model.demoObjectNo, model.demoSubNo), std::make_pair(1, std::uint8_t{2}));
    EXPECT_EQ(model.unknownObjectStatus, 0x82);
    EXPECT_EQ(model.answerMode.kind, ZebAnswerMode::Kind::Error);
    EXPECT_EQ(model.answerMode.error, "busy");
    EXPECT_TRUE(model.answerMode.zebActive);
    EXPECT_FALSE(model.faults.any());
    // A bus section with one key: the others keep the defaults of the key table.
    Json json = validModel();
    json["bus"] = Json{{"zebBitRate", 19200}};
    const auto timed = ZebDeviceModel::fromJson(json, "m");
    for (const auto& key : busKeys())
        EXPECT_EQ(timed.bus.*key.member, std::string(key.key) == "zebBitRate" ? 19200 : key.defaultValue) << key.key;
}

TEST(ZebDeviceModel, RefusesBrokenModelsNamingTheProblem)
{
    struct Case {
        const char* what;
        std::function<void(Json&)> breakIt;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no objects", [](Json& j) { j.erase("objects"); }, "lacks \"objects\""},
        {"odd hex", [](Json& j) { j["objects"][0]["data"] = "123"; }, "objects[0].data must hold two"},
        {"not hex", [](Json& j) { j["objects"][0]["data"] = "ZZ"; }, "not hexadecimal"},
        {"sub too large", [](Json& j) { j["objects"][0]["sub"] = 256; }, "objects[0].sub must lie in 0..255"},
        {"object number", [](Json& j) { j["objects"][0]["object"] = "1"; }, "objects[0].object must be a whole number"},
        {"repeated object", [](Json& j) { j["objects"][1]["object"] = 1; }, "repeats object 1.2"},
        {"identity object missing", [](Json& j) { j["identity"]["PersistentManufacturerIDCode"] = "9.1"; },
         "read as object 9.2, which the model does not hold"},
        {"identity not a pair", [](Json& j) { j["identity"]["PersistentDeviceID"] = "61"; }, "must be \"object.sub\""},
        {"identity two bytes", [](Json& j) { j["objects"][0]["data"] = "0102"; }, "exactly one data byte"},
        {"device id too short", [](Json& j) { j["objects"][5]["data"] = "0102"; }, "at least three data bytes"},
        {"bad answer", [](Json& j) { j["answer"] = "sometimes"; }, "answer must be"},
        {"answer error not text", [](Json& j) { j["answer"] = Json{{"error", 5}}; }, "ZEB error name"},
        {"zebActive not Boolean", [](Json& j) { j["answer"]["zebActive"] = "yes"; }, "zebActive must be true or false"},
        {"answer a number", [](Json& j) { j["answer"] = 42; }, "answer must be"},
        {"identity not a number", [](Json& j) { j["identity"]["PersistentDeviceID"] = "x.1"; }, "must be \"object.sub\""},
        {"identity sub too large", [](Json& j) { j["identity"]["PersistentDeviceID"] = "6.300"; }, "must be \"object.sub\""},
        {"demo object missing", [](Json& j) { j["demoRead"] = Json{{"object", 7}, {"sub", 9}}; }, "demoRead names object 7.9"},
        {"status range", [](Json& j) { j["broadcastReply"]["status"] = -1; }, "broadcastReply.status must lie"},
        {"unknown type", [](Json& j) { j["objects"][0]["type"] = "double"; }, "objects[0].type must be \"bytes\""},
        {"float of one byte", [](Json& j) { j["objects"][0]["type"] = "float32"; }, "data does not fit the type float32"},
        {"unsigned of five bytes", [](Json& j) { j["objects"][6] = Json{{"object", 7}, {"sub", 0}, {"data", "0102030405"}, {"type", "unsigned"}}; },
         "objects[6].data does not fit the type unsigned"},
        {"unit not text", [](Json& j) { j["objects"][0]["unit"] = 3; }, "objects[0].unit must be a string"},
        {"not an object", [](Json& j) { j = Json::array(); }, "a device model is a JSON object"},
        {"bus bit rate zero", [](Json& j) { j["bus"] = Json{{"zebBitRate", 0}}; }, "bus.zebBitRate must lie in 1.."},
        {"bus negative", [](Json& j) { j["bus"] = Json{{"hartTurnaroundMs", -5}}; }, "bus.hartTurnaroundMs must lie in 0.."},
        {"bus wrong type", [](Json& j) { j["bus"] = Json{{"hartPreambles", "5"}}; }, "bus.hartPreambles must be a whole number"},
        {"bus fraction", [](Json& j) { j["bus"] = Json{{"zebTurnaroundMs", 2.5}}; }, "bus.zebTurnaroundMs must be a whole number"},
        {"bus unknown key", [](Json& j) { j["bus"] = Json{{"baud", 9600}}; }, "bus knows zebBitRate, "},
        {"bus not an object", [](Json& j) { j["bus"] = 9600; }, "bus must be an object"},
        {"fault probability", [](Json& j) { j["faults"] = Json{{"late", 1.5}}; }, "faults.late must be a number from 0 to 1"},
        {"fault probability text", [](Json& j) { j["faults"] = Json{{"busy", "often"}}; }, "faults.busy must be a number"},
        {"faults above 1", [](Json& j) { j["faults"] = Json{{"noAnswer", 0.6}, {"corrupt", 0.6}}; }, "add up to more than 1"},
        {"fault seed", [](Json& j) { j["faults"] = Json{{"seed", -1}}; }, "faults.seed must lie in 0..4294967295"},
        {"fault late time", [](Json& j) { j["faults"] = Json{{"lateMs", "long"}}; }, "faults.lateMs must be a whole number"},
        {"fault unknown key", [](Json& j) { j["faults"] = Json{{"sometimes", 1}}; }, "faults knows noAnswer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Json json = validModel();
        c.breakIt(json);
        try {
            ZebDeviceModel::fromJson(json, "model.json");
            ADD_FAILURE() << "accepted";
        } catch (const ModelError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("model.json: ", 0), 0u) << error.what();
        }
    }
}

} // namespace
} // namespace zeb2hart::frame
