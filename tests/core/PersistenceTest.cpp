// The fourteen persisted properties: initialised from the settings file,
// loaded with their defaults, saved in their order and types.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "core/DtmFixture.h"
#include "fdt/Errors.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::test {
namespace {

using Values = std::vector<std::string>;

const Values kKeysInOrder = {
    "PresistentTrace", "PersistentZEBProtocolFilter", "PersistentHARTProtocolFilter", "PersistentFDTInterfaceFilter",
    "PersistentDeviceTypeIndex", "PersistentWarmstartDelay", "PersistentDeviceList", "PersistentManufacturerIDCode",
    "PersistentManufacturerDevTypeCode", "PersistentRevLevelOfTransmSpecDoc", "PersistentSoftwareRevLevelOfDev",
    "PersistentHardwareRevLevelOfElectr", "PersistentDeviceID", "m_ChannelUUID",
};

// The fourteen values in the order above, as text.
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

// A component folder whose settings file is given whole.
class SettingsFolder {
public:
    explicit SettingsFolder(const std::string& ini)
    {
        folder.write("Resources/DTM.ini", ini);
        dtm = core::DTMMain::create(folder.path());
        dtm->setPersistenceSite(site);
    }
    TempComponentFolder folder;
    TestEnvironment environment{folder.path()};
    std::shared_ptr<core::DTMMain> dtm;
    std::shared_ptr<RecordingPersistenceSite> site = std::make_shared<RecordingPersistenceSite>();
};

std::string settings(const std::string& initialValues)
{
    return "[TimeCritical]\nTrace=None\nTraceFileSizeInMB=10\nPresistentTrace=Kept\n[InitialValues]\n" + initialValues +
           "[DeviceList]\nDevices=A1, B2 ,C3\n"
           "[VRA520]\nPersistentManufacturerIDCode=1.1\nPersistentManufacturerDevTypeCode=2.2\n"
           "PersistentRevLevelOfTransmSpecDoc=3.3\nPersistentSoftwareRevLevelOfDev=4.4\n"
           "PersistentHardwareRevLevelOfElectr=5.5\nPersistentDeviceID=6.6\n"
           "[A1]\nPersistentManufacturerIDCode=9.9\n";
}

// The [InitialValues] lines of the filters (ZEB, HART, FDT interface), index and delay; nothing leaves a key out.
std::string initial(std::optional<std::string> zeb, std::optional<std::string> hart, std::optional<std::string> fdt,
                    std::optional<std::string> index, std::optional<std::string> delay)
{
    const std::pair<const char*, std::optional<std::string>> lines[] = {
        {"PersistentZEBProtocolFilter", zeb}, {"PersistentHARTProtocolFilter", hart},
        {"PersistentFDTInterfaceFilter", fdt}, {"PersistentDeviceTypeIndex", index},
        {"PersistentWarmstartDelay", delay}};
    std::string text;
    for (const auto& [key, value] : lines)
        text += value ? std::string(key) + "=" + *value + "\n" : "";
    return text;
}

TEST(PersistenceTest, NewPropertiesComeFromTheSettingsFile)
{
    const Values kept = {"Kept", "True", "False", "True", "0", "5", "A1, B2 ,C3", "1.1", "2.2", "3.3", "4.4", "5.5",
                         "6.6", "HARTChannel1"};
    Values converted = kept;
    std::copy_n(Values{"True", "True", "False", "16", "32767"}.begin(), 5, converted.begin() + 1);
    const std::pair<std::string, Values> cases[] = {
        // The identity items always come from the section VRA520.
        {settings(initial("True", "False", "True", "0", "5")), kept},
        // Booleans and numbers convert as the runtime does.
        {settings(initial(" true ", "-1", "0", "&H10", "32767")), converted},
        // Missing text keys give empty texts.
        {"[InitialValues]\n" + initial("True", "False", "True", "0", "5"),
         {"", "True", "False", "True", "0", "5", "", "", "", "", "", "", "", "HARTChannel1"}},
    };
    for (const auto& [ini, expected] : cases) {
        SCOPED_TRACE(ini);
        SettingsFolder component(ini);
        component.dtm->InitNewProperties();
        EXPECT_EQ(values(*component.dtm), expected);
        EXPECT_EQ(component.site->changed, kKeysInOrder);
    }
}

TEST(PersistenceTest, AnUnconvertibleInitialValueStopsTheInitialisation)
{
    // the initial values, type mismatch (else overflow), how many of ZEB, HART, FDT and index were set
    const std::tuple<std::string, bool, int> cases[] = {
        {initial("True", {}, "True", "1", "5"), true, 1},    {initial("True", "True", "yes", "1", "5"), true, 2},
        {initial("True", "True", "True", "", "5"), true, 3}, {initial("True", "True", "True", "1", "40000"), false, 4},
        {"", true, 0},
    };
    for (const auto& [initialValues, typeMismatch, propertiesSet] : cases) {
        SCOPED_TRACE(initialValues);
        SettingsFolder component(settings(initialValues));
        auto& dtm = *component.dtm;
        if (typeMismatch)
            EXPECT_THROW(dtm.InitNewProperties(), fdt::TypeMismatchError);
        else
            EXPECT_THROW(dtm.InitNewProperties(), fdt::OverflowError);
        // Set up to the failing one; the trace setting before them, nothing after them.
        Values expected = kDefaults;
        expected[0] = "Kept";
        const Values set = {"True", "True", "True", "1"};
        std::copy_n(set.begin(), propertiesSet, expected.begin() + 1);
        EXPECT_EQ(values(dtm), expected);
        EXPECT_TRUE(component.site->changed.empty());
    }
}

TEST(PersistenceTest, AMissingSettingsFileFailsOnTheFirstBoolean)
{
    TempComponentFolder folder;
    std::filesystem::remove(folder.path() / "Resources" / "DTM.ini");
    TestEnvironment environment(folder.path());
    const auto dtm = core::DTMMain::create(folder.path());
    EXPECT_THROW(dtm->InitNewProperties(), fdt::TypeMismatchError);
    EXPECT_EQ(dtm->PresistentTrace, "");
}

TEST(PersistenceTest, LoadingABagWithOneKeyGivesTheDefaults)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    dtm->PersistentZEBProtocolFilter = true;
    dtm->PersistentDeviceList = "changed";
    const auto site = std::make_shared<RecordingPersistenceSite>();
    dtm->setPersistenceSite(site);

    platform::MemoryPropertyBag bag;
    bag.write("PersistentDeviceTypeIndex", std::int16_t{2});
    dtm->LoadProperties(bag);
    Values expected = kDefaults;
    expected[4] = "2";
    EXPECT_EQ(values(*dtm), expected);
    EXPECT_TRUE(site->changed.empty());
}

TEST(PersistenceTest, SaveWritesEveryKeyInOrderWithItsType)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    dtm->InitNewProperties();
    // The delivered settings.
    EXPECT_EQ(values(*dtm), (Values{"None", "True", "True", "True", "0", "5", "VRA520,VRA510,VRA540", "14002.32",
                                    "14000.32", "14016.32", "14015.32", "14014.32", "32516.28", "HARTChannel1"}));
    platform::MemoryPropertyBag bag;
    dtm->SaveProperties(bag);
    ASSERT_EQ(bag.entries().size(), kKeysInOrder.size());
    for (std::size_t i = 0; i < kKeysInOrder.size(); ++i) {
        SCOPED_TRACE(kKeysInOrder[i]);
        const auto& [key, value] = bag.entries()[i];
        EXPECT_EQ(key, kKeysInOrder[i]);
        if (i >= 1 && i <= 3)
            EXPECT_EQ(value, fdt::Variant(values(*dtm)[i] == "True"));
        else if (i == 4 || i == 5)
            EXPECT_EQ(value, fdt::Variant(static_cast<std::int16_t>(std::stoi(values(*dtm)[i]))));
        else
            EXPECT_EQ(value, fdt::Variant(values(*dtm)[i]));
    }
}

TEST(PersistenceTest, SaveAndLoadRoundTrip)
{
    TestEnvironment environment;
    const auto original = core::DTMMain::create();
    original->PresistentTrace = "";
    original->PersistentZEBProtocolFilter = true;
    original->PersistentHARTProtocolFilter = false;
    original->PersistentFDTInterfaceFilter = true;
    original->PersistentDeviceTypeIndex = -3;
    original->PersistentWarmstartDelay = 32767;
    original->PersistentDeviceList = "";
    original->PersistentManufacturerIDCode = "a";
    original->PersistentManufacturerDevTypeCode = "b";
    original->PersistentRevLevelOfTransmSpecDoc = "c";
    original->PersistentSoftwareRevLevelOfDev = "d";
    original->PersistentHardwareRevLevelOfElectr = "\xC3\xA9";
    original->PersistentDeviceID = " ";

    platform::MemoryPropertyBag bag;
    original->SaveProperties(bag);
    platform::MemoryPropertyBag reread;
    platform::JsonFilePropertyBag::fromJson(platform::JsonFilePropertyBag::toJson(bag), reread);

    const auto loaded = core::DTMMain::create();
    loaded->InitNewProperties();
    loaded->LoadProperties(reread);
    EXPECT_EQ(values(*loaded), values(*original));
    platform::MemoryPropertyBag again;
    loaded->SaveProperties(again);
    EXPECT_EQ(again.entries(), bag.entries());
}

TEST(PersistenceTest, LoadAndSaveWriteNoMonitorLines)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    const auto monitor = std::make_shared<RecordingMonitorPage>();
    dtm->PersistentFDTInterfaceFilter = true;
    dtm->CtlMonitorPointer(monitor);
    platform::MemoryPropertyBag bag;
    bag.write("PersistentFDTInterfaceFilter", true);
    dtm->LoadProperties(bag);
    dtm->SaveProperties(bag);
    dtm->InitNewProperties();
    EXPECT_TRUE(monitor->lines.empty());
}

TEST(PersistenceTest, ALoadedValueOfTheWrongKindIsAnError)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    platform::MemoryPropertyBag bag;
    bag.write("PersistentWarmstartDelay", std::string("many"));
    EXPECT_THROW(dtm->LoadProperties(bag), fdt::TypeMismatchError);
    platform::MemoryPropertyBag numbers;
    numbers.write("PersistentWarmstartDelay", std::string("7"));
    numbers.write("PersistentZEBProtocolFilter", std::string("True"));
    dtm->LoadProperties(numbers);
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 7);
    EXPECT_TRUE(dtm->PersistentZEBProtocolFilter);
}

} // namespace
} // namespace zeb2hart::test
