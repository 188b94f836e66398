// The transcript: events stamped with their script line, written, kept, and
// told to a listener in the order they happen; the frame window keeps none.
#include <gtest/gtest.h>

#include <sstream>

#include "transcript/Transcript.h"

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
    EXPECT_EQ(transcript.events(), heard);
    EXPECT_EQ(out.str(), "{\"line\":4,\"ev\":\"monitor\",\"function\":\"F\"}\n{\"ev\":\"end\"}\n");
}

TEST(TranscriptTest, WithoutKeepingEventsOnlyOutputListenerAndHookGetThem)
{
    Transcript transcript;
    std::ostringstream out;
    int heard = 0;
    int hooks = 0;
    transcript.setOutput(&out);
    transcript.setListener([&](const Json&) { ++heard; });
    transcript.setBeforeEvent([&] { ++hooks; });
    transcript.setKeepEvents(false);
    transcript.add({{"ev", "changed"}});
    transcript.add({{"ev", "changed"}});
    EXPECT_EQ(transcript.size(), 0u);
    EXPECT_EQ(std::make_pair(heard, hooks), std::make_pair(2, 2));
    EXPECT_EQ(out.str(), "{\"ev\":\"changed\"}\n{\"ev\":\"changed\"}\n");
    transcript.setListener(nullptr);
    transcript.setKeepEvents(true);
    transcript.add({{"ev", "end"}});
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(transcript.size(), 1u);
}

} // namespace
} // namespace zeb2hart::frame

namespace zeb2hart::frame {
namespace {

TEST(TranscriptTest, ForgottenEventsKeepTheIndicesOfTheRest)
{
    Transcript transcript;
    for (int i = 0; i < 4; ++i)
        transcript.add({{"ev", "n"}, {"i", i}});
    transcript.forgetBefore(3);
    transcript.forgetBefore(1); // already gone: nothing changes
    EXPECT_EQ(transcript.firstKept(), 3u);
    EXPECT_EQ(transcript.events().size(), 1u);
    EXPECT_EQ(transcript.add({{"ev", "n"}, {"i", 4}}), 4u);
    EXPECT_EQ(transcript.size(), 5u);
    EXPECT_EQ(transcript.at(3)["i"], 3);
    EXPECT_EQ(transcript.at(4)["i"], 4);
    transcript.forgetBefore(99);
    EXPECT_EQ(transcript.size(), 5u);
    EXPECT_TRUE(transcript.events().empty());
}

} // namespace
} // namespace zeb2hart::frame
