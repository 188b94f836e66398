// Device models: the shipped ones load and match DTM.ini; broken ones are
// refused with a message that names the problem.

#include <gtest/gtest.h>

#include <sstream>

#include "ZebDeviceModel.h"
#include "fakes/TestEnvironment.h"
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
      "broadcastReply": {"status": 0, "data": ""}, "delayedResponse": {"status": 0, "data": "AB"},
      "demoRead": {"object": 7, "sub": 0}})");
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
        for (std::size_t i = 0; i < kIdentityKeys.size(); ++i) {
            EXPECT_EQ(model.identity[i], support::ReadIniString(ini, type, kIdentityKeys[i])) << kIdentityKeys[i];
            ASSERT_NE(model.identityObject(i), nullptr);
        }
        EXPECT_NE(model.find(model.demoObjectNo, model.demoSubNo), nullptr);
    }
    EXPECT_GE(count, 1);
}

TEST(ZebDeviceModel, ReadsTheFieldsOfAValidModel)
{
    const auto model = ZebDeviceModel::fromJson(validModel(), "m");
    EXPECT_EQ(model.tag, "T1"); // no tag: the device type
    EXPECT_EQ(model.communicationReference, "R1");
    ASSERT_NE(model.identityObject(5), nullptr);
    EXPECT_EQ(model.identityObject(5)->data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(model.find(7, 0)->status, 130);
    EXPECT_EQ(model.delayedResponse.data, (std::vector<std::uint8_t>{0xAB}));
    EXPECT_EQ(model.unknownObjectStatus, 0x82);
    EXPECT_EQ(model.answerMode.kind, ZebAnswerMode::Kind::Normal);
    EXPECT_EQ(model.find(7, 1), nullptr);
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
        {"demo object missing", [](Json& j) { j["demoRead"]["sub"] = 9; }, "demoRead names object 7.9"},
        {"status range", [](Json& j) { j["broadcastReply"]["status"] = -1; }, "broadcastReply.status must lie"},
        {"not an object", [](Json& j) { j = Json::array(); }, "a device model is a JSON object"},
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

TEST(ZebDeviceModel, AMissingOrMalformedFileIsAModelError)
{
    EXPECT_THROW(ZebDeviceModel::load("/no/such/model.json"), ModelError);
    test::TempComponentFolder folder;
    folder.write("bad.json", "{\"deviceType\": ");
    try {
        ZebDeviceModel::load(folder.path() / "bad.json");
        ADD_FAILURE() << "accepted";
    } catch (const ModelError& error) {
        EXPECT_NE(std::string(error.what()).find("not valid JSON"), std::string::npos);
    }
}

TEST(ZebDeviceModel, AnswerModesFromJson)
{
    EXPECT_EQ(answerModeFromJson("silent").kind, ZebAnswerMode::Kind::Silent);
    EXPECT_EQ(answerModeFromJson("refuse").kind, ZebAnswerMode::Kind::Refuse);
    const auto error = answerModeFromJson(Json{{"error", "busy"}, {"zebActive", false}});
    EXPECT_EQ(error.kind, ZebAnswerMode::Kind::Error);
    EXPECT_EQ(error.error, "busy");
    EXPECT_FALSE(error.zebActive);
    EXPECT_TRUE(answerModeFromJson(Json{{"error", "timeout"}}).zebActive);
    EXPECT_THROW(answerModeFromJson(Json{{"error", "x"}, {"zebActive", "yes"}}), ModelError);
    EXPECT_THROW(answerModeFromJson(42), ModelError);
}

TEST(ZebDeviceModel, IdentityTextsSplitAtThePoint)
{
    EXPECT_EQ(parseIdentityText("14002.32"), (std::make_pair(std::int32_t{14002}, std::uint8_t{32})));
    EXPECT_EQ(parseIdentityText("14002"), std::nullopt);
    EXPECT_EQ(parseIdentityText("x.1"), std::nullopt);
    EXPECT_EQ(parseIdentityText("1.300"), std::nullopt);
}

} // namespace
} // namespace zeb2hart::frame
