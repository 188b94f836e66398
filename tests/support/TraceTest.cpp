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

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
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
    std::string traceText() const { return readFile(m_folder.path() / "TraceInfoFile.txt"); }
    bool traceExists() const { return std::filesystem::exists(m_folder.path() / "TraceInfoFile.txt"); }

    test::TempComponentFolder m_folder;
    test::TestEnvironment m_environment{m_folder.path()};
};

TEST(FormatTraceLine, DateTimeWordFunctionMessage)
{
    struct Case {
        std::tm time;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {moment(2026, 12, 6, 14, 5, 9), "2026-12-06 14:05:09 ZEBAdapter: IDtm_SetLanguage: Begin"},
        {moment(2001, 1, 2, 0, 0, 1), "2001-01-02 00:00:01 ZEBAdapter: IDtm_SetLanguage: Begin"},
        {moment(1999, 12, 31, 23, 59, 59), "1999-12-31 23:59:59 ZEBAdapter: IDtm_SetLanguage: Begin"},
        {moment(2024, 2, 29, 0, 0, 0), "2024-02-29 ZEBAdapter: IDtm_SetLanguage: Begin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatTraceLine(c.time, "IDtm_SetLanguage", "Begin"), c.expected);
    EXPECT_EQ(FormatTraceLine(moment(2026, 1, 1, 12, 0, 0), "", ""), "2026-01-01 12:00:00 ZEBAdapter: : ");
}

TEST_F(TraceTest, PathsLieInTheComponentFolder)
{
    EXPECT_EQ(traceFilePath(), m_folder.path() / "TraceInfoFile.txt");
    EXPECT_EQ(iniFilePath(), m_folder.path() / "Resources" / "DTM.ini");
}

TEST_F(TraceTest, TwoTracesGiveTwoLinesOldestFirst)
{
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
    settings("Trace=  ExternalFile  \r\n"); // the profile service trims the value
    Trace("F", "M");
    EXPECT_TRUE(traceExists());
}

TEST_F(TraceTest, MissingSettingsFileLeavesTracingOff)
{
    std::filesystem::remove(m_folder.path() / "Resources" / "DTM.ini");
    Trace("F", "M");
    EXPECT_FALSE(traceExists());
}

TEST_F(TraceTest, ModeIsReadOnceUntilReset)
{
    settings("Trace=ExternalFile\r\n");
    Trace("F", "one");
    settings("Trace=None\r\n");
    Trace("F", "two"); // still on: the mode was read at the first call
    EXPECT_EQ(traceText(), "2026-12-06 14:05:09 ZEBAdapter: F: one\r\n"
                           "2026-12-06 14:05:09 ZEBAdapter: F: two\r\n");
    ResetTraceMode();
    Trace("F", "three");
    EXPECT_EQ(traceText(), "2026-12-06 14:05:09 ZEBAdapter: F: one\r\n"
                           "2026-12-06 14:05:09 ZEBAdapter: F: two\r\n");
}

TEST_F(TraceTest, EmptyModeIsReadAgainOnEveryCall)
{
    settings("");
    Trace("F", "not written");
    EXPECT_FALSE(traceExists());
    settings("Trace=ExternalFile\r\n");
    Trace("F", "written");
    EXPECT_EQ(traceText(), "2026-12-06 14:05:09 ZEBAdapter: F: written\r\n");
}

TEST_F(TraceTest, OtherModeIsNotReadAgain)
{
    settings("Trace=None\r\n");
    Trace("F", "not written");
    settings("Trace=ExternalFile\r\n");
    Trace("F", "still not written");
    EXPECT_FALSE(traceExists());
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
}

TEST_F(TraceTest, AppendTraceLineWithoutFolderFails)
{
    platform::Services services;
    services.componentFolder = m_folder.path() / "no" / "such" / "folder";
    platform::ScopedServices scope(services);
    EXPECT_FALSE(AppendTraceLine("lost"));
}

TEST_F(TraceTest, SizeLimitTable)
{
    struct Case {
        std::string setting; // the whole TraceFileSizeInMB line, or nothing
        std::size_t fileSize;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"TraceFileSizeInMB=0\r\n", 1, false},
        {"TraceFileSizeInMB=0\r\n", 0, true},
        {"", 1, false},
        {"", 0, true},
        {"TraceFileSizeInMB=abc\r\n", 1, false},
        {"TraceFileSizeInMB=1\r\n", 1000000, true},
        {"TraceFileSizeInMB=1\r\n", 1000001, false},
        {"TraceFileSizeInMB=2\r\n", 1000001, true},
        {"TraceFileSizeInMB=5000\r\n", 1000001, true},
    };
    for (const auto& c : cases) {
        settings(c.setting);
        m_folder.write("TraceInfoFile.txt", std::string(c.fileSize, 'x'));
        CheckTraceFileSize(platform::services().componentFolder);
        EXPECT_EQ(traceExists(), c.kept) << c.setting << " size " << c.fileSize;
    }
}

TEST_F(TraceTest, SizeCheckWithoutTraceFileDoesNothing)
{
    settings("TraceFileSizeInMB=0\r\n");
    EXPECT_NO_THROW(CheckTraceFileSize(platform::services().componentFolder));
    EXPECT_FALSE(traceExists());
}

} // namespace
} // namespace zeb2hart::support
