#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"
#include "gateway/clsCommunicator.h"

namespace zeb2hart::gateway {
namespace {

struct Expected {
    std::int32_t objectNumber;
    std::uint8_t subNumber;
    std::uint8_t position;
};

const std::vector<Expected> kDefaults = {
    {14002, 33, 1}, {14000, 33, 2}, {14016, 33, 5}, {14015, 33, 6}, {14014, 33, 7}, {32516, 29, 9},
};

class CommunicatorTest : public ::testing::Test {
protected:
    void init(const std::array<std::string, 6>& texts)
    {
        m_communicator.InitZebSequence(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]);
    }
    void expectElements(const std::vector<Expected>& expected)
    {
        ASSERT_EQ(m_communicator.ZEBSeqColCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const auto& element = m_communicator.ZEBSeqElem(static_cast<std::int16_t>(i + 1));
            EXPECT_EQ(element.ObjectNumber, expected[i].objectNumber) << i;
            EXPECT_EQ(element.SubNumber, expected[i].subNumber) << i;
            EXPECT_EQ(element.NoOfBtes, 4) << i;
            EXPECT_EQ(element.HARTResponseDataPos, expected[i].position) << i;
        }
    }

    test::TestEnvironment m_environment;
    clsCommunicator m_communicator;
};

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
}

TEST_F(CommunicatorTest, EmptyTextsGiveTheDefaultReads)
{
    init({"", "", "", "", "", ""});
    expectElements(kDefaults);
}

TEST_F(CommunicatorTest, EachReadGetsItsOwnNewInvokeId)
{
    init({"", "", "", "", "", ""});
    for (std::int16_t i = 1; i <= 6; ++i)
        EXPECT_EQ(m_communicator.ZEBSeqElem(i).invokeId, "00000000-0000-4000-8000-00000000000" + std::to_string(i));
}

TEST_F(CommunicatorTest, UnusableTextsFallBackPerEntry)
{
    init({"14002.", "14000", "20000.5", "1.0", "&H10.&H1F", "  7 . 3 "});
    expectElements({{14002, 33, 1}, {14000, 33, 2}, {20000, 6, 5}, {1, 1, 6}, {16, 32, 7}, {7, 4, 9}});
}

TEST_F(CommunicatorTest, ConversionErrorsReachTheCaller)
{
    struct Case {
        std::string deviceId;
        bool overflow;
    };
    const std::vector<Case> cases = {
        {".5", false},      // nothing before the point
        {"abc.5", false},   // not a number
        {"5.x", false},     // sub-number not a number
        {"5.255", true},    // 256 does not fit a byte
        {"5.-2", true},     // -1 does not fit a byte
        {"99999999999.1", true},
    };
    for (const auto& c : cases) {
        clsCommunicator communicator;
        try {
            communicator.InitZebSequence("", "", "", "", "", c.deviceId);
            ADD_FAILURE() << c.deviceId << " was accepted";
        } catch (const fdt::OverflowError&) {
            EXPECT_TRUE(c.overflow) << c.deviceId;
        } catch (const fdt::TypeMismatchError&) {
            EXPECT_FALSE(c.overflow) << c.deviceId;
        }
        // The five reads before the failing one stay.
        EXPECT_EQ(communicator.ZEBSeqColCount(), 5) << c.deviceId;
    }
}

TEST_F(CommunicatorTest, SecondSequenceIsAppendedBehindTheFirst)
{
    init({"", "", "", "", "", ""});
    init({"1.1", "", "", "", "", ""});
    ASSERT_EQ(m_communicator.ZEBSeqColCount(), 12);
    EXPECT_EQ(m_communicator.ZEBSeqElem(1).ObjectNumber, 14002);
    EXPECT_EQ(m_communicator.ZEBSeqElem(7).ObjectNumber, 1);
    EXPECT_EQ(m_communicator.ZEBSeqElem(7).SubNumber, 2);
    EXPECT_EQ(m_communicator.ZEBSeqElem(12).ObjectNumber, 32516);
}

TEST_F(CommunicatorTest, ElementPositionsAreOneBased)
{
    init({"", "", "", "", "", ""});
    EXPECT_THROW(m_communicator.ZEBSeqElem(0), fdt::NotFoundError);
    EXPECT_THROW(m_communicator.ZEBSeqElem(7), fdt::NotFoundError);
    EXPECT_THROW(m_communicator.ZEBSeqElem(-1), fdt::NotFoundError);
    EXPECT_NO_THROW(m_communicator.ZEBSeqElem(6));
}

TEST_F(CommunicatorTest, RequestedElementFindsOrFallsBackToTheLast)
{
    init({"", "", "", "", "", ""});
    const std::string third = m_communicator.ZEBSeqElem(3).invokeId;
    ASSERT_NE(m_communicator.RequestedElement(third), nullptr);
    EXPECT_EQ(m_communicator.RequestedElement(third)->ObjectNumber, 14016);
    ASSERT_NE(m_communicator.RequestedElement("unknown"), nullptr);
    EXPECT_EQ(m_communicator.RequestedElement("unknown")->ObjectNumber, 32516);
}

TEST_F(CommunicatorTest, RemoveTakesOnlyTheMatchingElement)
{
    init({"", "", "", "", "", ""});
    const std::string second = m_communicator.ZEBSeqElem(2).invokeId;
    EXPECT_FALSE(m_communicator.ZEBSeqColRemove("unknown"));
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 6);
    EXPECT_TRUE(m_communicator.ZEBSeqColRemove(second));
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 5);
    EXPECT_EQ(m_communicator.ZEBSeqElem(2).ObjectNumber, 14016);
    EXPECT_FALSE(m_communicator.ZEBSeqColRemove(second));
    EXPECT_EQ(m_communicator.ZEBSeqColCount(), 5);
}

TEST_F(CommunicatorTest, ShortAddressConvertsText)
{
    m_communicator.shortAddress(fdt::Variant{std::string("5")});
    EXPECT_EQ(m_communicator.shortAddress(), 5);
    m_communicator.shortAddress(fdt::Variant{std::string(" 15 ")});
    EXPECT_EQ(m_communicator.shortAddress(), 15);
    EXPECT_THROW(m_communicator.shortAddress(fdt::Variant{std::string("five")}), fdt::TypeMismatchError);
    EXPECT_THROW(m_communicator.shortAddress(fdt::Variant{std::string("")}), fdt::TypeMismatchError);
    EXPECT_THROW(m_communicator.shortAddress(fdt::Variant{std::string("40000")}), fdt::OverflowError);
    EXPECT_EQ(m_communicator.shortAddress(), 15);
}

TEST_F(CommunicatorTest, CommunicationReferenceMadeAndReleased)
{
    EXPECT_TRUE(m_communicator.CreateCommunicationReference());
    EXPECT_EQ(m_communicator.communicationReference(), "00000000-0000-4000-8000-000000000001");
    EXPECT_TRUE(m_communicator.ReleaseCommunicationReference());
    EXPECT_EQ(m_communicator.communicationReference(), "");
}

TEST(HartExtension, AnswersEmptyTexts)
{
    IHartExtension extension;
    EXPECT_EQ(extension.GetShortAddress(), "");
    EXPECT_EQ(extension.GetFdtTag(), "");
}

} // namespace
} // namespace zeb2hart::gateway
