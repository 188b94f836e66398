#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "fakes/ComponentFiles.h"
#include "fakes/TestEnvironment.h"
#include "support/Trace.h"

namespace zeb2hart::support {
namespace {

// A component folder of its own with a settings file whose [TimeCritical] section the test chooses.
class TraceTest : public ::testing::Test {
protected:
    TraceTest() { ResetTraceMode(); }
    ~TraceTest() override { ResetTraceMode(); }

    void settings(const std::string& timeCritical)
    {
        m_folder.write("Resources/DTM.ini", "[TimeCritical]\r\n" + timeCritical + "[InitialValues]\r\n");
    }
    // The trace file's text; "<none>" when there is none.
    std::string traceText() const
    {
        std::ifstream in(m_folder.path() / "TraceInfoFile.txt", std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return in ? content.str() : "<none>";
    }

    test::TempComponentFolder m_folder;
    test::TestEnvironment m_environment{m_folder.path()};
};

TEST(FormatTraceLine, DateTimeWordFunctionMessageAndNoTimeAtMidnight)
{
    std::tm moment{};
    moment.tm_year = 99;
    moment.tm_mon = 11;
    moment.tm_mday = 31;
    EXPECT_EQ(FormatTraceLine(moment, "F", "M"), "1999-12-31 ZEBAdapter: F: M");
    moment.tm_sec = 1;
    EXPECT_EQ(FormatTraceLine(moment, "", ""), "1999-12-31 00:00:01 ZEBAdapter: : ");
}

// Only "ExternalFile" (trimmed) turns tracing on. The mode is read at the first
// call and kept until reset; an empty mode is read again on every call.
TEST_F(TraceTest, WhenAndHowTheModeIsRead)
{
    const std::string one = "2026-12-06 14:05:09 ZEBAdapter: F: one\r\n";
    const std::string two = "2026-12-06 14:05:09 ZEBAdapter: F: two\r\n";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        // the settings at the first call, at the second, the trace file after both
        {"Trace=  ExternalFile  \r\n", "Trace=None\r\n", one + two},
        {"", "Trace=ExternalFile\r\n", two},
        {"Trace=None\r\n", "Trace=ExternalFile\r\n", "<none>"},
        {"Trace=externalfile\r\n", "", "<none>"},
        {"Trace=ExternalFile2\r\n", "", "<none>"},
    };
    for (const auto& [first, second, after] : cases) {
        SCOPED_TRACE(first);
        ResetTraceMode();
        std::filesystem::remove(m_folder.path() / "TraceInfoFile.txt");
        settings(first);
        Trace("F", "one");
        settings(second);
        Trace("F", "two");
        EXPECT_EQ(traceText(), after);
    }
    ResetTraceMode(); // the settings (empty now) are read again
    Trace("F", "three");
    EXPECT_EQ(traceText(), "<none>");
}

TEST_F(TraceTest, AppendTraceLineReportsFileErrors)
{
    EXPECT_TRUE(AppendTraceLine("first"));
    EXPECT_TRUE(AppendTraceLine(""));
    EXPECT_EQ(traceText(), "first\r\n\r\n");
    // A folder in the place of the trace file cannot be opened for appending:
    // the line goes to the user's folder; only when that fails too is it lost.
    std::filesystem::remove(m_folder.path() / "TraceInfoFile.txt");
    std::filesystem::create_directory(m_folder.path() / "TraceInfoFile.txt");
    const auto userFile = m_folder.path() / "UserData" / "TraceInfoFile.txt";
    EXPECT_TRUE(AppendTraceLine("kept"));
    settings("Trace=ExternalFile\r\n");
    EXPECT_NO_THROW(Trace("F", "kept too"));
    EXPECT_EQ(test::traceEntries(m_folder.path() / "UserData"), (std::vector<std::string>{"F: kept too"}));
    EXPECT_TRUE(test::readFile(userFile).starts_with("kept\r\n"));
    std::filesystem::remove(userFile);
    std::filesystem::create_directory(userFile);
    EXPECT_FALSE(AppendTraceLine("lost"));
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
        {"", 1, false},                              {"TraceFileSizeInMB=abc\r\n", 1, false},
        {"TraceFileSizeInMB=1\r\n", 1000000, true},  {"TraceFileSizeInMB=1\r\n", 1000001, false},
        {"TraceFileSizeInMB=2\r\n", 1000001, true},
    };
    for (const auto& [setting, size, kept] : cases) {
        settings(setting);
        m_folder.write("TraceInfoFile.txt", std::string(size, 'x'));
        CheckTraceFileSize(m_folder.path());
        EXPECT_EQ(traceText() != "<none>", kept) << setting << " size " << size;
    }
    std::filesystem::remove(m_folder.path() / "TraceInfoFile.txt");
    settings("TraceFileSizeInMB=0\r\n");
    EXPECT_NO_THROW(CheckTraceFileSize(m_folder.path()));
}

} // namespace
} // namespace zeb2hart::support
