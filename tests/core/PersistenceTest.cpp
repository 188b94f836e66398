// The fourteen persisted properties: initialised from the settings file,
// loaded with their defaults, saved in their order and types.

#include <gtest/gtest.h>

#include "core/DtmFixture.h"
#include "fdt/Errors.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::test {
namespace {

const std::vector<std::string> kKeysInOrder = {
    "PresistentTrace",
    "PersistentZEBProtocolFilter",
    "PersistentHARTProtocolFilter",
    "PersistentFDTInterfaceFilter",
    "PersistentDeviceTypeIndex",
    "PersistentWarmstartDelay",
    "PersistentDeviceList",
    "PersistentManufacturerIDCode",
    "PersistentManufacturerDevTypeCode",
    "PersistentRevLevelOfTransmSpecDoc",
    "PersistentSoftwareRevLevelOfDev",
    "PersistentHardwareRevLevelOfElectr",
    "PersistentDeviceID",
    "m_ChannelUUID",
};

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
    return "[TimeCritical]\nTrace=None\nTraceFileSizeInMB=10\nPresistentTrace=Kept\n"
           "[InitialValues]\n" +
           initialValues +
           "[DeviceList]\nDevices=A1, B2 ,C3\n"
           "[VRA520]\nPersistentManufacturerIDCode=1.1\nPersistentManufacturerDevTypeCode=2.2\n"
           "PersistentRevLevelOfTransmSpecDoc=3.3\nPersistentSoftwareRevLevelOfDev=4.4\n"
           "PersistentHardwareRevLevelOfElectr=5.5\nPersistentDeviceID=6.6\n"
           "[A1]\nPersistentManufacturerIDCode=9.9\n";
}

const std::string kTrueFalseTrue05 = "PersistentZEBProtocolFilter=True\nPersistentHARTProtocolFilter=False\n"
                                     "PersistentFDTInterfaceFilter=True\nPersistentDeviceTypeIndex=0\n"
                                     "PersistentWarmstartDelay=5\n";

TEST(PersistenceTest, NewPropertiesComeFromTheSettingsFile)
{
    SettingsFolder component(settings(kTrueFalseTrue05));
    auto& dtm = *component.dtm;
    dtm.InitNewProperties();
    EXPECT_EQ(dtm.PresistentTrace, "Kept");
    EXPECT_TRUE(dtm.PersistentZEBProtocolFilter);
    EXPECT_FALSE(dtm.PersistentHARTProtocolFilter);
    EXPECT_TRUE(dtm.PersistentFDTInterfaceFilter);
    EXPECT_EQ(dtm.PersistentDeviceTypeIndex, 0);
    EXPECT_EQ(dtm.PersistentWarmstartDelay, 5);
    EXPECT_EQ(dtm.PersistentDeviceList, "A1, B2 ,C3");
    // The identity items always come from the section VRA520.
    EXPECT_EQ(dtm.PersistentManufacturerIDCode, "1.1");
    EXPECT_EQ(dtm.PersistentManufacturerDevTypeCode, "2.2");
    EXPECT_EQ(dtm.PersistentRevLevelOfTransmSpecDoc, "3.3");
    EXPECT_EQ(dtm.PersistentSoftwareRevLevelOfDev, "4.4");
    EXPECT_EQ(dtm.PersistentHardwareRevLevelOfElectr, "5.5");
    EXPECT_EQ(dtm.PersistentDeviceID, "6.6");
    EXPECT_EQ(dtm.channelUuid(), "HARTChannel1");
    EXPECT_EQ(component.site->changed, kKeysInOrder);
}

TEST(PersistenceTest, NewPropertiesFromTheDeliveredSettings)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    dtm->InitNewProperties();
    EXPECT_EQ(dtm->PresistentTrace, "None");
    EXPECT_TRUE(dtm->PersistentZEBProtocolFilter);
    EXPECT_EQ(dtm->PersistentDeviceList.substr(0, 6), "VRA520");
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "14002.32");
    EXPECT_EQ(dtm->PersistentDeviceID, "32516.28");
}

TEST(PersistenceTest, BooleanAndNumberTextsConvertAsTheRuntimeDoes)
{
    SettingsFolder component(settings("PersistentZEBProtocolFilter= true \nPersistentHARTProtocolFilter=-1\n"
                                      "PersistentFDTInterfaceFilter=0\nPersistentDeviceTypeIndex=&H10\n"
                                      "PersistentWarmstartDelay=32767\n"));
    component.dtm->InitNewProperties();
    EXPECT_TRUE(component.dtm->PersistentZEBProtocolFilter);
    EXPECT_TRUE(component.dtm->PersistentHARTProtocolFilter);
    EXPECT_FALSE(component.dtm->PersistentFDTInterfaceFilter);
    EXPECT_EQ(component.dtm->PersistentDeviceTypeIndex, 16);
    EXPECT_EQ(component.dtm->PersistentWarmstartDelay, 32767);
}

TEST(PersistenceTest, AnUnconvertibleInitialValueStopsTheInitialisation)
{
    struct Case {
        std::string initialValues;
        bool typeMismatch; // else overflow
        int propertiesSet; // of ZEB, HART, FDT, index, delay
    };
    const Case cases[] = {
        {"PersistentZEBProtocolFilter=True\nPersistentFDTInterfaceFilter=True\nPersistentDeviceTypeIndex=1\n"
         "PersistentWarmstartDelay=5\n",
         true, 1},
        {"PersistentZEBProtocolFilter=True\nPersistentHARTProtocolFilter=True\nPersistentFDTInterfaceFilter=yes\n"
         "PersistentDeviceTypeIndex=1\nPersistentWarmstartDelay=5\n",
         true, 2},
        {"PersistentZEBProtocolFilter=True\nPersistentHARTProtocolFilter=True\nPersistentFDTInterfaceFilter=True\n"
         "PersistentDeviceTypeIndex=\nPersistentWarmstartDelay=5\n",
         true, 3},
        {"PersistentZEBProtocolFilter=True\nPersistentHARTProtocolFilter=True\nPersistentFDTInterfaceFilter=True\n"
         "PersistentDeviceTypeIndex=1\nPersistentWarmstartDelay=40000\n",
         false, 4},
        {"", true, 0},
    };
    for (const Case& c : cases) {
        SettingsFolder component(settings(c.initialValues));
        auto& dtm = *component.dtm;
        if (c.typeMismatch)
            EXPECT_THROW(dtm.InitNewProperties(), fdt::TypeMismatchError) << c.initialValues;
        else
            EXPECT_THROW(dtm.InitNewProperties(), fdt::OverflowError) << c.initialValues;
        const bool set[] = {dtm.PersistentZEBProtocolFilter, dtm.PersistentHARTProtocolFilter,
                            dtm.PersistentFDTInterfaceFilter, dtm.PersistentDeviceTypeIndex == 1};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(set[i], i < c.propertiesSet) << c.initialValues << " property " << i;
        EXPECT_EQ(dtm.PersistentWarmstartDelay, 0);
        EXPECT_EQ(dtm.PresistentTrace, "Kept");
        EXPECT_EQ(dtm.PersistentDeviceList, "VRA520");
        EXPECT_EQ(dtm.PersistentManufacturerIDCode, "14002.32");
        EXPECT_EQ(dtm.channelUuid(), "AD46AA4C-4366-4C7E-9C4D-0562F001308B");
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

TEST(PersistenceTest, MissingTextKeysGiveEmptyTexts)
{
    SettingsFolder component("[InitialValues]\n" + kTrueFalseTrue05);
    component.dtm->InitNewProperties();
    EXPECT_EQ(component.dtm->PresistentTrace, "");
    EXPECT_EQ(component.dtm->PersistentDeviceList, "");
    EXPECT_EQ(component.dtm->PersistentDeviceID, "");
    EXPECT_EQ(component.site->changed.size(), 14u);
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
    EXPECT_EQ(dtm->PresistentTrace, "None");
    EXPECT_FALSE(dtm->PersistentZEBProtocolFilter);
    EXPECT_FALSE(dtm->PersistentHARTProtocolFilter);
    EXPECT_FALSE(dtm->PersistentFDTInterfaceFilter);
    EXPECT_EQ(dtm->PersistentDeviceTypeIndex, 2);
    EXPECT_EQ(dtm->PersistentWarmstartDelay, 0);
    EXPECT_EQ(dtm->PersistentDeviceList, "VRA520");
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "14002.32");
    EXPECT_EQ(dtm->PersistentManufacturerDevTypeCode, "14000.32");
    EXPECT_EQ(dtm->PersistentRevLevelOfTransmSpecDoc, "14016.32");
    EXPECT_EQ(dtm->PersistentSoftwareRevLevelOfDev, "14015.32");
    EXPECT_EQ(dtm->PersistentHardwareRevLevelOfElectr, "14014.32");
    EXPECT_EQ(dtm->PersistentDeviceID, "32516.28");
    EXPECT_EQ(dtm->channelUuid(), "AD46AA4C-4366-4C7E-9C4D-0562F001308B");
    EXPECT_TRUE(site->changed.empty());
}

TEST(PersistenceTest, SaveWritesEveryKeyInOrderWithItsType)
{
    TestEnvironment environment;
    const auto dtm = core::DTMMain::create();
    dtm->InitNewProperties();
    platform::MemoryPropertyBag bag;
    dtm->SaveProperties(bag);
    ASSERT_EQ(bag.entries().size(), kKeysInOrder.size());
    for (std::size_t i = 0; i < kKeysInOrder.size(); ++i)
        EXPECT_EQ(bag.entries()[i].first, kKeysInOrder[i]);
    const auto& e = bag.entries();
    EXPECT_EQ(e[0].second, fdt::Variant(std::string("None")));
    EXPECT_EQ(e[1].second, fdt::Variant(true));
    EXPECT_EQ(e[4].second, fdt::Variant(std::int16_t{0}));
    EXPECT_EQ(e[5].second, fdt::Variant(std::int16_t{5}));
    EXPECT_EQ(e[6].second, fdt::Variant(std::string("VRA520,VRA510,VRA540")));
    EXPECT_EQ(e[13].second, fdt::Variant(std::string("HARTChannel1")));
    for (std::size_t i : {0u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 13u})
        EXPECT_TRUE(e[i].second.is<std::string>()) << kKeysInOrder[i];
    for (std::size_t i : {1u, 2u, 3u})
        EXPECT_TRUE(e[i].second.is<bool>()) << kKeysInOrder[i];
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
    const std::string json = platform::JsonFilePropertyBag::toJson(bag);
    platform::MemoryPropertyBag reread;
    platform::JsonFilePropertyBag::fromJson(json, reread);

    const auto loaded = core::DTMMain::create();
    loaded->InitNewProperties();
    loaded->LoadProperties(reread);
    platform::MemoryPropertyBag again;
    loaded->SaveProperties(again);
    EXPECT_EQ(again.entries(), bag.entries());
    EXPECT_EQ(loaded->PersistentDeviceList, "");
    EXPECT_EQ(loaded->PersistentDeviceTypeIndex, -3);
    EXPECT_EQ(loaded->channelUuid(), "AD46AA4C-4366-4C7E-9C4D-0562F001308B");
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
