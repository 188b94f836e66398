#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"
#include "gateway/clsCommunicator.h"

namespace zeb2hart::gateway {
namespace {

class CommunicatorTest : public ::testing::Test {
protected:
    void init(const std::array<std::string, 6>& t)
    {
        m_communicator.InitZebSequence(t[0], t[1], t[2], t[3], t[4], t[5]);
    }
    zeb2hart::test::TestEnvironment m_environment;
    clsCommunicator m_communicator;
};

// Object number, sub-number, byte count and position in the command 0 answer of each read.
std::vector<std::string> reads(clsCommunicator& communicator)
{
    std::vector<std::string> result;
    for (std::int16_t i = 1; i <= communicator.ZEBSeqColCount(); ++i) {
        const auto& e = communicator.ZEBSeqElem(i);
        result.push_back(std::to_string(e.ObjectNumber) + "." + std::to_string(e.SubNumber) + " " +
                         std::to_string(e.NoOfBtes) + "@" + std::to_string(e.HARTResponseDataPos));
    }
    return result;
}

TEST_F(CommunicatorTest, StartsEmpty)
{
    EXPECT_FALSE(m_communicator.CallbackInterface());
    EXPECT_FALSE(m_communicator.ZEBDriverInterface());
    EXPECT_EQ(m_communicator.communicationReference(), "");
    EXPECT_EQ(m_communicator.shortAddress(), 0);
    EXPECT_EQ(m_communicator.HARTCmd0InvokeId(), "");
    EXPECT_FALSE(m_communicator.ZEBSeqComAct());
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 0);
    EXPECT_EQ(m_communicator.RequestedElement("any"), nullptr);
    EXPECT_TRUE(m_communicator.ReleaseCommunication());
    IHartExtension extension;
    EXPECT_EQ(extension.GetShortAddress() + extension.GetFdtTag(), "");
}

TEST_F(CommunicatorTest, IdentityTextsGiveTheReadsAndUnusableOnesFallBackPerEntry)
{
    init({"", "", "", "", "", ""});
    EXPECT_EQ(reads(m_communicator), (std::vector<std::string>{"14002.33 4@1", "14000.33 4@2", "14016.33 4@5",
                                                               "14015.33 4@6", "14014.33 4@7", "32516.29 4@9"}));
    // Each read has its own new invoke identifier.
    for (std::int16_t i = 1; i <= 6; ++i)
        EXPECT_EQ(m_communicator.ZEBSeqElem(i).invokeId, test::guid(i));

    clsCommunicator other;
    other.InitZebSequence("14002.", "14000", "20000.5", "1.0", "&H10.&H1F", "  7 . 3 ");
    EXPECT_EQ(reads(other), (std::vector<std::string>{"14002.33 4@1", "14000.33 4@2", "20000.6 4@5", "1.1 4@6",
                                                 "16.32 4@7", "7.4 4@9"}));
    // A second sequence is appended behind the first.
    init({"1.1", "", "", "", "", ""});
    ASSERT_EQ(m_communicator.ZEBSeqColCount(), 12);
    EXPECT_EQ(reads(m_communicator)[6], "1.2 4@1");
    EXPECT_EQ(reads(m_communicator)[11], "32516.29 4@9");
}

TEST_F(CommunicatorTest, ConversionErrorsReachTheCaller)
{
    // device identifier, overflow (else type mismatch)
    const std::pair<std::string, bool> cases[] = {{".5", false},   {"abc.5", false}, {"5.x", false},
                                                  {"5.255", true}, {"5.-2", true},   {"99999999999.1", true}};
    for (const auto& [deviceId, overflow] : cases) {
        SCOPED_TRACE(deviceId);
        clsCommunicator communicator;
        try {
            communicator.InitZebSequence("", "", "", "", "", deviceId);
            ADD_FAILURE() << "accepted";
        } catch (const fdt::OverflowError&) {
            EXPECT_TRUE(overflow);
        } catch (const fdt::TypeMismatchError&) {
            EXPECT_FALSE(overflow);
        }
        // The five reads before the failing one stay.
        EXPECT_EQ(communicator.ZEBSeqColCount(), 5);
    }
}

TEST_F(CommunicatorTest, ElementsByPositionInvokeIdAndRemoval)
{
    init({"", "", "", "", "", ""});
    for (const std::int16_t position : {0, 7, -1})
        EXPECT_THROW(m_communicator.ZEBSeqElem(position), fdt::NotFoundError) << position;
    const std::string second = m_communicator.ZEBSeqElem(2).invokeId;
    // Found by invoke identifier; an unknown one falls back to the last element.
    const clsZEBSequence* third = m_communicator.RequestedElement(m_communicator.ZEBSeqElem(3).invokeId);
    const clsZEBSequence* fallback = m_communicator.RequestedElement("unknown");
    ASSERT_TRUE(third && fallback);
    EXPECT_EQ(third->ObjectNumber, 14016);
    EXPECT_EQ(fallback->ObjectNumber, 32516);

    EXPECT_FALSE(m_communicator.ZEBSeqColRemove("unknown"));
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 6);
    EXPECT_TRUE(m_communicator.ZEBSeqColRemove(second));
    EXPECT_EQ(reads(m_communicator), (std::vector<std::string>{"14002.33 4@1", "14016.33 4@5", "14015.33 4@6",
                                                               "14014.33 4@7", "32516.29 4@9"}));
    EXPECT_FALSE(m_communicator.ZEBSeqColRemove(second));
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 5);
}

TEST_F(CommunicatorTest, ShortAddressAndReference)
{
    m_communicator.shortAddress(fdt::Variant{std::string("5")});
    EXPECT_EQ(m_communicator.shortAddress(), 5);
    m_communicator.shortAddress(fdt::Variant{std::string(" 15 ")});
    EXPECT_EQ(m_communicator.shortAddress(), 15);
    for (const char* text : {"five", ""})
        EXPECT_THROW(m_communicator.shortAddress(fdt::Variant{std::string(text)}), fdt::TypeMismatchError) << text;
    EXPECT_THROW(m_communicator.shortAddress(fdt::Variant{std::string("40000")}), fdt::OverflowError);
    EXPECT_EQ(m_communicator.shortAddress(), 15);

    EXPECT_TRUE(m_communicator.CreateCommunicationReference());
    EXPECT_EQ(m_communicator.communicationReference(), test::guid(1));
    EXPECT_TRUE(m_communicator.ReleaseCommunicationReference());
    EXPECT_EQ(m_communicator.communicationReference(), "");
}

} // namespace
} // namespace zeb2hart::gateway
