#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "support/IniFile.h"

namespace zeb2hart::support {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& content)
    {
        m_folder.write("Resources/Test.ini", content);
        return m_folder.path() / "Resources" / "Test.ini";
    }
    test::TempComponentFolder m_folder;
};

TEST_F(IniFileTest, ProfileRulesTable)
{
    const auto file = write("; a comment line\r\n"
                            "[First]\r\n"
                            "Plain=value\r\n"
                            "  Padded   =   spaced value   \r\n"
                            "Tabbed=\tx\t\r\n"
                            "Empty=\r\n"
                            "Twice=first\r\n"
                            "twice=second\r\n"
                            ";Hidden=commented out\r\n"
                            "Quoted=\"in quotes\"\r\n"
                            "Equals=a=b\r\n"
                            "NoEqualsSign\r\n"
                            "[ Second ]\n"
                            "Key=from second\n"
                            "Plain=second plain\n"
                            "[first]\n"
                            "Later=in a repeated section\n");
    struct Case {
        std::string section;
        std::string key;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"First", "Plain", "value"},
        {"FIRST", "plain", "value"},
        {"first", "PLAIN", "value"},
        {"First", "Padded", "spaced value"},
        {"First", "Tabbed", "x"},
        {"First", "Empty", ""},
        {"First", "Twice", "first"},
        {"First", "Hidden", ""},
        {"First", ";Hidden", ""},
        {"First", "Quoted", "in quotes"},
        {"First", "Equals", "a=b"},
        {"First", "NoEqualsSign", ""},
        {"First", "Key", ""},
        {"Second", "Key", "from second"},
        {"second", "Plain", "second plain"},
        {"First", "Later", ""}, // only the first section of a name is searched
        {"Missing", "Plain", ""},
        {"First", "Missing", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadIniString(file, c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST_F(IniFileTest, MissingFileReadsEmpty)
{
    EXPECT_EQ(ReadIniString(m_folder.path() / "NoSuchFile.ini", "TimeCritical", "Trace"), "");
    EXPECT_EQ(ReadIniString(m_folder.path(), "TimeCritical", "Trace"), ""); // a folder, not a file
}

TEST_F(IniFileTest, LongValuesComeBackWhole)
{
    for (std::size_t length : {253u, 254u, 255u, 256u, 300u, 510u, 511u, 1024u, 5000u}) {
        std::string value(length, 'x');
        value.back() = 'E';
        const auto file = write("[S]\r\nK=" + value + "\r\n");
        const std::string read = ReadIniString(file, "S", "K");
        EXPECT_EQ(read.size(), length);
        EXPECT_EQ(read, value) << length;
    }
}

TEST_F(IniFileTest, LastLineWithoutLineEndAndByteOrderMark)
{
    const auto file = write("\xEF\xBB\xBF[S]\nK=last");
    EXPECT_EQ(ReadIniString(file, "S", "K"), "last");
}

TEST(DeliveredSettings, EveryKeyIsPresent)
{
    const auto file = test::componentDir() / "Resources" / "DTM.ini";
    EXPECT_NE(ReadIniString(file, "TimeCritical", "Trace"), "ExternalFile");
    EXPECT_NE(ReadIniString(file, "TimeCritical", "TraceFileSizeInMB"), "");
    EXPECT_NE(ReadIniString(file, "TimeCritical", "PresistentTrace"), "");
    for (const char* key : {"PersistentZEBProtocolFilter", "PersistentHARTProtocolFilter",
                            "PersistentFDTInterfaceFilter", "PersistentDeviceTypeIndex", "PersistentWarmstartDelay"})
        EXPECT_NE(ReadIniString(file, "InitialValues", key), "") << key;

    const std::string devices = ReadIniString(file, "DeviceList", "Devices");
    ASSERT_TRUE(devices.starts_with("VRA520,")) << devices;
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = devices.find(',', start);
        names.push_back(devices.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    EXPECT_GE(names.size(), 3u);
    for (const auto& name : names) {
        for (const char* key : {"PersistentManufacturerIDCode", "PersistentManufacturerDevTypeCode",
                                "PersistentRevLevelOfTransmSpecDoc", "PersistentSoftwareRevLevelOfDev",
                                "PersistentHardwareRevLevelOfElectr", "PersistentDeviceID"}) {
            const std::string value = ReadIniString(file, name, key);
            const std::size_t point = value.find('.');
            EXPECT_TRUE(point != std::string::npos && point > 0 && point + 1 < value.size())
                << name << "/" << key << " = " << value;
        }
    }
    EXPECT_EQ(ReadIniString(file, "VRA520", "PersistentManufacturerIDCode"), "14002.32");
    EXPECT_EQ(ReadIniString(file, "VRA520", "PersistentDeviceID"), "32516.28");
}

} // namespace
} // namespace zeb2hart::support
