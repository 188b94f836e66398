// The transcript: events stamped with their script line, written, kept, and
// told to a listener in the order they happen.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Transcript.h"

namespace zeb2hart::frame {
namespace {

TEST(TranscriptTest, ListenerSeesEachEventAsWrittenAndKept)
{
    Transcript transcript;
    std::ostringstream out;
    std::vector<Json> heard;
    transcript.setOutput(&out);
    transcript.setListener([&](const Json& event) { heard.push_back(event); });
    transcript.setLine(4);
    EXPECT_EQ(transcript.add({{"ev", "monitor"}, {"function", "F"}}), 0u);
    transcript.setLine(0);
    EXPECT_EQ(transcript.add({{"ev", "end"}}), 1u);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].dump(), R"({"line":4,"ev":"monitor","function":"F"})");
    EXPECT_EQ(heard[1].dump(), R"({"ev":"end"})");
    EXPECT_EQ(transcript.events(), heard);
    EXPECT_EQ(out.str(), "{\"line\":4,\"ev\":\"monitor\",\"function\":\"F\"}\n{\"ev\":\"end\"}\n");
}

TEST(TranscriptTest, WithoutKeepingEventsOnlyOutputAndListenerGetThem)
{
    Transcript transcript;
    std::ostringstream out;
    int heard = 0;
    int hooks = 0;
    transcript.setOutput(&out);
    transcript.setListener([&](const Json&) { ++heard; });
    transcript.setBeforeEvent([&] { ++hooks; });
    transcript.setKeepEvents(false);
    for (int i = 0; i < 3; ++i)
        transcript.add({{"ev", "changed"}, {"property", "P"}});
    EXPECT_TRUE(transcript.events().empty());
    EXPECT_EQ(transcript.size(), 0u);
    EXPECT_EQ(heard, 3);
    EXPECT_EQ(hooks, 3);
    const std::string written = out.str();
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);
    transcript.setListener(nullptr);
    transcript.setKeepEvents(true);
    transcript.add({{"ev", "end"}});
    EXPECT_EQ(heard, 3);
    EXPECT_EQ(transcript.size(), 1u);
}

} // namespace
} // namespace zeb2hart::frame
