// The persisted properties' table by key, initialisation from DTM.ini with its conversions and
// failures, and loaded values of another kind; order and defaults toward the frame are in the scripts.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "core/PersistentProperties.h"
#include "fakes/FakePages.h"
#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::test {
namespace {

using Values = std::vector<std::string>;
using core::PersistentProperty;

// The fourteen members in the table's order, as text, read without the table.
Values values(const core::DTMMain& d)
{
    const auto flag = [](bool value) { return std::string(value ? "True" : "False"); };
    return {d.PresistentTrace, flag(d.PersistentZEBProtocolFilter), flag(d.PersistentHARTProtocolFilter),
            flag(d.PersistentFDTInterfaceFilter), std::to_string(d.PersistentDeviceTypeIndex),
            std::to_string(d.PersistentWarmstartDelay), d.PersistentDeviceList, d.PersistentManufacturerIDCode,
            d.PersistentManufacturerDevTypeCode, d.PersistentRevLevelOfTransmSpecDoc, d.PersistentSoftwareRevLevelOfDev,
            d.PersistentHardwareRevLevelOfElectr, d.PersistentDeviceID, d.channelUuid()};
}

const Values kDefaults = {"None", "False", "False", "False", "0", "0", "VRA520", "14002.32", "14000.32", "14016.32",
                          "14015.32", "14014.32", "32516.28", "AD46AA4C-4366-4C7E-9C4D-0562F001308B"};

TEST(PersistentPropertiesTest, EachKeyReachesItsOwnMemberWithItsType)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    EXPECT_EQ(values(*dtm), kDefaults);
    EXPECT_EQ(PersistentProperty::find("persistentDeviceID"), nullptr);
    // Writing "1" through one key changes exactly the member of that key, to "1", True or 1.
    const auto all = PersistentProperty::all();
    const fdt::Variant one[] = {fdt::Variant("1"), fdt::Variant(true), fdt::Variant(std::int16_t{1})};
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(std::string(all[i].key));
        ASSERT_EQ(PersistentProperty::find(all[i].key), &all[i]);
        EXPECT_EQ(all[i].published, all[i].key != "m_ChannelUUID");
        EXPECT_EQ(all[i].get(*dtm), all[i].defaultValue());
        all[i].set(*dtm, std::string("1"));
        Values expected = kDefaults;
        expected[i] = all[i].type() == core::PropertyType::Boolean ? "True" : "1";
        EXPECT_EQ(values(*dtm), expected);
        EXPECT_EQ(all[i].get(*dtm), one[static_cast<int>(all[i].type())]);
        all[i].set(*dtm, all[i].defaultValue());
    }
    EXPECT_THROW(PersistentProperty::find("PersistentWarmstartDelay")->set(*dtm, "40000"), fdt::OverflowError);
    EXPECT_THROW(PersistentProperty::find("PersistentDeviceList")->set(*dtm, std::int16_t{3}), fdt::TypeMismatchError);
    EXPECT_EQ(values(*dtm), kDefaults);
}

// A component folder whose settings file is given whole.
struct SettingsFolder {
    explicit SettingsFolder(const std::string& ini)
    {
        folder.write("Resources/DTM.ini", ini);
        dtm->setPersistenceSite(site);
    }
    TempComponentFolder folder;
    TestEnvironment environment{folder.path()};
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create(folder.path());
    std::shared_ptr<RecordingPersistenceSite> site = std::make_shared<RecordingPersistenceSite>();
};

// [InitialValues] with the filters (ZEB, HART, FDT interface), index and delay; "-" leaves a key out.
std::string initial(const std::array<std::string, 5>& values)
{
    const char* keys[] = {"PersistentZEBProtocolFilter", "PersistentHARTProtocolFilter",
                          "PersistentFDTInterfaceFilter", "PersistentDeviceTypeIndex", "PersistentWarmstartDelay"};
    std::string ini = "[InitialValues]\n";
    for (std::size_t i = 0; i < values.size(); ++i)
        ini += values[i] == "-" ? "" : keys[i] + ("=" + values[i]) + "\n";
    return ini;
}

// The identity items always come from the section VRA520.
const std::string kTexts = "[TimeCritical]\nPresistentTrace=Kept\n[DeviceList]\nDevices=A1, B2 ,C3\n[VRA520]\n"
                           "PersistentManufacturerIDCode=1.1\nPersistentManufacturerDevTypeCode=2.2\n"
                           "PersistentRevLevelOfTransmSpecDoc=3.3\nPersistentSoftwareRevLevelOfDev=4.4\n"
                           "PersistentHardwareRevLevelOfElectr=5.5\nPersistentDeviceID=6.6\n"
                           "[A1]\nPersistentManufacturerIDCode=9.9\n";

TEST(PersistenceTest, NewPropertiesComeFromTheSettingsFile)
{
    const Values texts = {"A1, B2 ,C3", "1.1", "2.2", "3.3", "4.4", "5.5", "6.6", "HARTChannel1"};
    const std::pair<std::array<std::string, 5>, Values> cases[] = {
        {{"True", "False", "True", "0", "5"}, {"Kept", "True", "False", "True", "0", "5"}},
        // Booleans and numbers convert as the runtime does.
        {{" true ", "-1", "0", "&H10", "32767"}, {"Kept", "True", "True", "False", "16", "32767"}},
    };
    for (auto [initialValues, expected] : cases) {
        SettingsFolder component(kTexts + initial(initialValues));
        component.dtm->InitNewProperties();
        expected.insert(expected.end(), texts.begin(), texts.end());
        EXPECT_EQ(values(*component.dtm), expected);
        EXPECT_EQ(component.site->changed.size(), 14u);
    }
}

TEST(PersistenceTest, ASettingsFileInTheAnsiCodePageSavesAsUtf8)
{
    // "Spät" and "Gerät €" in Windows-1252, as Windows programs write DTM.ini.
    SettingsFolder component("[TimeCritical]\nPresistentTrace=Sp\xE4t\n[DeviceList]\nDevices=Ger\xE4t \x80,B2\n" +
                             initial({"True", "True", "True", "0", "5"}));
    component.dtm->InitNewProperties();
    platform::JsonFilePropertyBag bag(component.folder.root() / "project.json");
    component.dtm->SaveProperties(bag);
    ASSERT_NO_THROW(bag.save());
    platform::JsonFilePropertyBag loaded(bag.file());
    loaded.load();
    EXPECT_EQ(loaded.read("PresistentTrace", {}), fdt::Variant("Sp\xC3\xA4t"));
    EXPECT_EQ(loaded.read("PersistentDeviceList", {}), fdt::Variant("Ger\xC3\xA4t \xE2\x82\xAC,B2"));
}

TEST(PersistenceTest, AnUnconvertibleInitialValueStopsTheInitialisation)
{
    // the initial values, type mismatch (else overflow), how many of ZEB, HART, FDT and index were set
    const std::tuple<std::array<std::string, 5>, bool, int> cases[] = {
        {{"True", "-", "True", "1", "5"}, true, 1},    {{"True", "True", "yes", "1", "5"}, true, 2},
        {{"True", "True", "True", "", "5"}, true, 3}, {{"True", "True", "True", "1", "40000"}, false, 4},
        {{"-", "-", "-", "-", "-"}, true, 0}, // no Boolean at all, as without a settings file
    };
    for (const auto& [initialValues, typeMismatch, propertiesSet] : cases) {
        SettingsFolder component(kTexts + initial(initialValues));
        if (typeMismatch)
            EXPECT_THROW(component.dtm->InitNewProperties(), fdt::TypeMismatchError);
        else
            EXPECT_THROW(component.dtm->InitNewProperties(), fdt::OverflowError);
        // Set up to the failing one, the trace setting before them; nothing after them, nothing reported.
        Values expected = kDefaults;
        expected[0] = "Kept";
        std::fill_n(expected.begin() + 1, std::min(propertiesSet, 3), "True");
        expected[4] = propertiesSet == 4 ? "1" : "0";
        EXPECT_EQ(values(*component.dtm), expected) << propertiesSet;
        EXPECT_TRUE(component.site->changed.empty());
    }
}

TEST(PersistenceTest, LoadConvertsTextsToNumbersAndRefusesNumbersForTexts)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    platform::MemoryPropertyBag bag;
    bag.write("PersistentWarmstartDelay", "7");
    bag.write("PersistentZEBProtocolFilter", "True");
    bag.write("PersistentDeviceList", fdt::Variant());
    dtm->LoadProperties(bag);
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 7);
    EXPECT_TRUE(dtm->PersistentZEBProtocolFilter);
    EXPECT_EQ(dtm->PersistentDeviceList, "");
    using Wrong = std::vector<std::pair<const char*, fdt::Variant>>;
    for (const auto& [key, value] : Wrong{{"PersistentWarmstartDelay", "many"}, {"PersistentDeviceID", 2.5},
                                          {"m_ChannelUUID", true}}) {
        platform::MemoryPropertyBag wrong;
        wrong.write(key, value);
        EXPECT_THROW(dtm->LoadProperties(wrong), fdt::TypeMismatchError) << key;
    }
}

} // namespace
} // namespace zeb2hart::test
