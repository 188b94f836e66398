// What the simulated HART device DTM makes of the answers it gets.

#include <gtest/gtest.h>

#include "peers/HartDeviceDtm.h"

namespace zeb2hart::frame {
namespace {

TEST(HartDecoding, Command0IntoTheIdentity)
{
    // Each field is checked through the frame window's panel; here the byte order of the identifier.
    const auto identity = decodeCommand0({0xFE, 0x61, 0xD2, 5, 5, 4, 3, 0x11, 0, 0x12, 0x34, 0x56});
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->deviceId, 0x123456u);
    EXPECT_FALSE(decodeCommand0({0xFE, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(HartDecoding, ResponseCodesByMeaning)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "Success"}, {1, "Undefined"}, {3, "Passed Parameter Too Large"}, {4, "Passed Parameter Too Small"},
        {6, "Device-Specific Command Error"}, {7, "In Write Protect Mode"}, {13, "Command-Specific Error 13"},
        {16, "Access Restricted"}, {32, "Busy"}, {64, "Command Not Implemented"},
        {50, "Command-Specific Response 50"}, {24, "Command-Specific Warning 24"}};
    for (const auto& [code, meaning] : cases)
        EXPECT_EQ(responseCodeMeaning(static_cast<std::uint8_t>(code)), meaning) << code;
}

} // namespace
} // namespace zeb2hart::frame
