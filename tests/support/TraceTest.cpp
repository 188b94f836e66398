#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "support/Trace.h"

namespace zeb2hart::support {
namespace {

std::tm moment(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// A component folder of its own with a settings file whose [TimeCritical] section the test chooses.
class TraceTest : public ::testing::Test {
protected:
    TraceTest() { ResetTraceMode(); }
    ~TraceTest() override { ResetTraceMode(); }

    void settings(const std::string& timeCritical)
    {
        m_folder.write("Resources/DTM.ini", "[TimeCritical]\r\n" + timeCritical + "[InitialValues]\r\n");
    }
    std::string traceText() const
    {
        std::ifstream in(m_folder.path() / "TraceInfoFile.txt", std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool traceExists() const { return std::filesystem::exists(m_folder.path() / "TraceInfoFile.txt"); }

    test::TempComponentFolder m_folder;
    test::TestEnvironment m_environment{m_folder.path()};
};

TEST(FormatTraceLine, DateTimeWordFunctionMessage)
{
    const std::pair<std::tm, std::string> cases[] = {
        {moment(2026, 12, 6, 14, 5, 9), "2026-12-06 14:05:09 ZEBAdapter: IDtm_SetLanguage: Begin"},
        {moment(2001, 1, 2, 0, 0, 1), "2001-01-02 00:00:01 ZEBAdapter: IDtm_SetLanguage: Begin"},
        {moment(1999, 12, 31, 23, 59, 59), "1999-12-31 23:59:59 ZEBAdapter: IDtm_SetLanguage: Begin"},
        {moment(2024, 2, 29, 0, 0, 0), "2024-02-29 ZEBAdapter: IDtm_SetLanguage: Begin"}, // midnight: no time
    };
    for (const auto& [time, expected] : cases)
        EXPECT_EQ(FormatTraceLine(time, "IDtm_SetLanguage", "Begin"), expected);
    EXPECT_EQ(FormatTraceLine(moment(2026, 1, 1, 12, 0, 0), "", ""), "2026-01-01 12:00:00 ZEBAdapter: : ");
}

TEST_F(TraceTest, PathsLieInTheComponentFolderAndLinesAreAppendedOldestFirst)
{
    EXPECT_EQ(traceFilePath(), m_folder.path() / "TraceInfoFile.txt");
    EXPECT_EQ(iniFilePath(), m_folder.path() / "Resources" / "DTM.ini");
    settings("Trace=ExternalFile\r\n");
    Trace("IDtm_SetLanguage", "Begin");
    m_environment.clock().set(moment(2026, 12, 7, 0, 0, 0));
    Trace("IDtm_SetLanguage", "Return Value is FALSE");
    EXPECT_EQ(traceText(), "2026-12-06 14:05:09 ZEBAdapter: IDtm_SetLanguage: Begin\r\n"
                           "2026-12-07 ZEBAdapter: IDtm_SetLanguage: Return Value is FALSE\r\n");
}

TEST_F(TraceTest, OnlyExactExternalFileTurnsTracingOn)
{
    for (const std::string value : {"externalfile", "EXTERNALFILE", "None", "ExternalFile2", "", "1"}) {
        ResetTraceMode();
        settings("Trace=" + value + "\r\n");
        Trace("F", "M");
        EXPECT_FALSE(traceExists()) << value;
    }
    ResetTraceMode();
    std::filesystem::remove(m_folder.path() / "Resources" / "DTM.ini"); // no settings file
    Trace("F", "M");
    EXPECT_FALSE(traceExists());
    ResetTraceMode();
    settings("Trace=  ExternalFile  \r\n"); // the profile service trims the value
    Trace("F", "M");
    EXPECT_TRUE(traceExists());
}

// The mode is read at the first call and kept until reset; an empty mode is read again on every call.
TEST_F(TraceTest, WhenTheModeIsRead)
{
    const std::string one = "2026-12-06 14:05:09 ZEBAdapter: F: one\r\n";
    const std::string two = "2026-12-06 14:05:09 ZEBAdapter: F: two\r\n";
    struct Case {
        const char* first;
        const char* second; // the settings at the second call
        std::string afterTwo;
    };
    const Case cases[] = {
        {"", "Trace=ExternalFile\r\n", two},
        {"Trace=None\r\n", "Trace=ExternalFile\r\n", ""},
        {"Trace=ExternalFile\r\n", "Trace=None\r\n", one + two},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ResetTraceMode();
        std::filesystem::remove(m_folder.path() / "TraceInfoFile.txt");
        settings(c.first);
        Trace("F", "one");
        settings(c.second);
        Trace("F", "two");
        EXPECT_EQ(traceExists(), !c.afterTwo.empty());
        EXPECT_EQ(traceText(), c.afterTwo);
    }
    // After a reset the settings ("None" now) are read again.
    ResetTraceMode();
    Trace("F", "three");
    EXPECT_EQ(traceText(), one + two);
}

TEST_F(TraceTest, AppendTraceLineReportsFileErrors)
{
    EXPECT_TRUE(AppendTraceLine("first"));
    EXPECT_TRUE(AppendTraceLine(""));
    EXPECT_EQ(traceText(), "first\r\n\r\n");

    // A folder in the place of the trace file cannot be opened for appending.
    std::filesystem::remove(m_folder.path() / "TraceInfoFile.txt");
    std::filesystem::create_directory(m_folder.path() / "TraceInfoFile.txt");
    EXPECT_FALSE(AppendTraceLine("lost"));
    settings("Trace=ExternalFile\r\n");
    EXPECT_NO_THROW(Trace("F", "lost too"));

    // Nor can a file in a folder that does not exist.
    platform::Services services;
    services.componentFolder = m_folder.path() / "no" / "such" / "folder";
    platform::ScopedServices scope(services);
    EXPECT_FALSE(AppendTraceLine("lost"));
}

TEST_F(TraceTest, SizeLimitTable)
{
    const std::tuple<std::string, std::size_t, bool> cases[] = {
        // the whole TraceFileSizeInMB line or nothing, the file's size, whether it is kept
        {"TraceFileSizeInMB=0\r\n", 1, false},       {"TraceFileSizeInMB=0\r\n", 0, true},
        {"", 1, false},                              {"", 0, true},
        {"TraceFileSizeInMB=abc\r\n", 1, false},     {"TraceFileSizeInMB=1\r\n", 1000000, true},
        {"TraceFileSizeInMB=1\r\n", 1000001, false}, {"TraceFileSizeInMB=2\r\n", 1000001, true},
        {"TraceFileSizeInMB=5000\r\n", 1000001, true},
    };
    for (const auto& [setting, size, kept] : cases) {
        settings(setting);
        m_folder.write("TraceInfoFile.txt", std::string(size, 'x'));
        CheckTraceFileSize(platform::services().componentFolder);
        EXPECT_EQ(traceExists(), kept) << setting << " size " << size;
    }
    // Without a trace file nothing happens.
    std::filesystem::remove(m_folder.path() / "TraceInfoFile.txt");
    settings("TraceFileSizeInMB=0\r\n");
    EXPECT_NO_THROW(CheckTraceFileSize(platform::services().componentFolder));
    EXPECT_FALSE(traceExists());
}

} // namespace
} // namespace zeb2hart::support
