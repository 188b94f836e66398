// The connection record on its own: the identity reads it makes from the six
// identity texts, its list of pending reads, and its reference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"
#include "gateway/clsCommunicator.h"

namespace zeb2hart::test {
namespace {

using gateway::clsCommunicator;

class CommunicatorTest : public ::testing::Test {
protected:
    TestEnvironment m_environment;
    clsCommunicator m_communicator;
};

// Object number, sub-number, byte count and position in the command 0 answer of each read.
std::vector<std::string> reads(const clsCommunicator& communicator)
{
    std::vector<std::string> result;
    for (std::int16_t i = 1; i <= communicator.ZEBSeqColCount(); ++i) {
        const auto& e = communicator.ZEBSeqElem(i);
        result.push_back(std::to_string(e.ObjectNumber) + "." + std::to_string(e.SubNumber) + " " +
                         std::to_string(e.NoOfBtes) + "@" + std::to_string(e.HARTResponseDataPos));
    }
    return result;
}

TEST_F(CommunicatorTest, IdentityTextsGiveTheReadsAndUnusableOnesFallBackPerEntry)
{
    m_communicator.InitZebSequence("", "", "", "", "", "");
    EXPECT_EQ(reads(m_communicator), (std::vector<std::string>{"14002.33 4@1", "14000.33 4@2", "14016.33 4@5",
                                                               "14015.33 4@6", "14014.33 4@7", "32516.29 4@9"}));
    // Each read has its own new invoke identifier.
    for (std::int16_t i = 1; i <= 6; ++i)
        EXPECT_EQ(m_communicator.ZEBSeqElem(i).invokeId, guid(i));

    // A second sequence is appended behind the first.
    m_communicator.InitZebSequence("14002.", "14000", "20000.5", "1.0", "&H10.&H1F", "  7 . 3 ");
    const std::vector<std::string> all = reads(m_communicator);
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(all.begin() + 6, all.end()),
              (std::vector<std::string>{"14002.33 4@1", "14000.33 4@2", "20000.6 4@5", "1.1 4@6", "16.32 4@7",
                                        "7.4 4@9"}));
}

TEST_F(CommunicatorTest, ConversionErrorsReachTheCallerAndTheReadsBeforeStay)
{
    for (const char* deviceId : {".5", "abc.5", "5.x", "5.255", "5.-2", "99999999999.1"}) {
        clsCommunicator communicator;
        EXPECT_THROW(communicator.InitZebSequence("", "", "", "", "", deviceId), fdt::Error) << deviceId;
        EXPECT_EQ(communicator.ZEBSeqColCount(), 5);
    }
}

TEST_F(CommunicatorTest, ElementsByPositionInvokeIdAndRemoval)
{
    m_communicator.InitZebSequence("", "", "", "", "", "");
    for (const std::int16_t position : {0, 7, -1})
        EXPECT_THROW(m_communicator.ZEBSeqElem(position), fdt::NotFoundError) << position;
    const std::string second = m_communicator.ZEBSeqElem(2).invokeId;
    // Found by invoke identifier; an unknown one falls back to the last element.
    const auto* third = m_communicator.RequestedElement(m_communicator.ZEBSeqElem(3).invokeId);
    const auto* fallback = m_communicator.RequestedElement("unknown");
    ASSERT_TRUE(third && fallback);
    EXPECT_EQ(third->ObjectNumber, 14016);
    EXPECT_EQ(fallback->ObjectNumber, 32516);

    EXPECT_FALSE(m_communicator.ZEBSeqColRemove("unknown"));
    EXPECT_TRUE(m_communicator.ZEBSeqColRemove(second));
    EXPECT_EQ(reads(m_communicator), (std::vector<std::string>{"14002.33 4@1", "14016.33 4@5", "14015.33 4@6",
                                                               "14014.33 4@7", "32516.29 4@9"}));
    EXPECT_FALSE(m_communicator.ZEBSeqColRemove(second));
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 5);
}

TEST_F(CommunicatorTest, ReferenceIsCreatedAndReleased)
{
    EXPECT_TRUE(m_communicator.CreateCommunicationReference());
    EXPECT_EQ(m_communicator.communicationReference(), guid(1));
    EXPECT_TRUE(m_communicator.ReleaseCommunicationReference());
    EXPECT_EQ(m_communicator.communicationReference(), "");
}

} // namespace
} // namespace zeb2hart::test
